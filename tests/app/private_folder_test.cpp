// Where copies of the program meet when there is no private runtime folder:
// a folder in the user's cache folder that the program makes for itself, and
// uses only when nobody else can have put it there or reach into it. When it
// cannot be had, each copy says so once and runs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/single_instance.h"
#include "tests/app/copies.h"
#include "tests/ui/named_rows.h"

namespace {

using namespace mirabo::test;
using mirabo::platform::kRaiseAnswerWaitMs;

constexpr char kNoPrivateFolder[] = "no private folder";

unsigned ModeOf(const QString& path) {
    struct stat st {};
    return lstat(path.toLocal8Bit().constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool MakeFolder(const QString& path, unsigned mode) {
    return QDir().mkpath(path) && chmod(path.toLocal8Bit().constData(), mode) == 0;
}

// Whether every line on stderr is the program's own ("mirabo: ..."): none
// from Qt, such as its notice about XDG_RUNTIME_DIR, which most cases unset.
bool OnlyTheProgramSpoke(const QString& said) {
    for (const QString& line : said.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1String("mirabo: "))) return false;
    }
    return true;
}

struct FolderCase {
    const char* name;
    // Prepares the test's folder `base`, changes the environment, and gives
    // the folder the copies should meet in (empty: none can be had).
    std::function<QString(const QString& base, QProcessEnvironment& environment)> prepare;
    const char* problem;  // what the copies say when they have no folder
    // Holds afterwards, for what was found in the way: left as it was.
    std::function<bool(const QString& base)> untouched;
};

class PrivateFolderTest : public ::testing::TestWithParam<FolderCase> {
protected:
    void TearDown() override {
        for (auto& copy : copies_) EndCopy(*copy);
    }
    QProcess& Start(const QProcessEnvironment& environment) {
        copies_.push_back(StartCopy(environment));
        return *copies_.back();
    }
    std::vector<std::unique_ptr<QProcess>> copies_;
};

TEST_P(PrivateFolderTest, IsMadeAndCheckedOrTheCopiesSaySoAndRun) {
    const FolderCase& c = GetParam();
    if (c.problem == std::string("belongs to another user") && geteuid() != 0) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    QProcessEnvironment environment = CopyEnvironment(QString());
    environment.insert("XDG_CACHE_HOME", base.path() + "/cache");
    environment.insert("HOME", base.path() + "/home");
    ASSERT_TRUE(MakeFolder(base.path() + "/home", 0700));
    const QString meeting = c.prepare(base.path(), environment);
    if (HasFailure()) return;

    QProcess& first = Start(environment);
    if (!meeting.isEmpty()) {
        ASSERT_TRUE(WaitFor(
            [&] { return LockHolder(LockPathIn(meeting)) == first.processId() || !Running(first); }, 15000))
            << StderrOf(first).toStdString();
        EXPECT_EQ(ModeOf(meeting), 0700u);
        QProcess& second = Start(environment);
        EXPECT_TRUE(EndsWithZero(second, kRaiseAnswerWaitMs + 5000));
        EXPECT_FALSE(StderrOf(second).contains(kNoAnswer));
        for (QProcess* copy : {&first, &second}) {
            EXPECT_FALSE(StderrOf(*copy).contains(kNoPrivateFolder)) << StderrOf(*copy).toStdString();
            EXPECT_TRUE(OnlyTheProgramSpoke(StderrOf(*copy))) << StderrOf(*copy).toStdString();
        }
        EXPECT_TRUE(Running(first));
        return;
    }
    // No folder: each copy says why, once, and runs on its own.
    ASSERT_TRUE(
        WaitFor([&] { return StderrOf(first).contains(kNoPrivateFolder) || !Running(first); }, 15000));
    QProcess& second = Start(environment);
    ASSERT_TRUE(
        WaitFor([&] { return StderrOf(second).contains(kNoPrivateFolder) || !Running(second); }, 15000));
    WaitFor([] { return false; }, 500);
    for (QProcess* copy : {&first, &second}) {
        EXPECT_TRUE(Running(*copy)) << "a copy without a private folder ended";
        const QString said = StderrOf(*copy);
        EXPECT_EQ(said.count(kNoPrivateFolder), 1) << said.toStdString();
        EXPECT_TRUE(OnlyTheProgramSpoke(said)) << said.toStdString();
        EXPECT_TRUE(said.contains(c.problem)) << said.toStdString();
    }
    EXPECT_TRUE(c.untouched(base.path()));
}

bool EmptyFolder(const QString& path) {
    return QDir(path)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .isEmpty();
}

// A folder of this user's whose mode lets others in: left as it is.
FolderCase OpenFolder(const char* name, unsigned mode, const char* problem) {
    return {name,
            [mode](const QString& base, QProcessEnvironment&) {
                EXPECT_TRUE(MakeFolder(base + "/cache/mirabo", mode));
                return QString();
            },
            problem,
            [mode](const QString& base) {
                return ModeOf(base + "/cache/mirabo") == mode && EmptyFolder(base + "/cache/mirabo");
            }};
}

const FolderCase kCases[] = {
    {"MadeWhenMissing", [](const QString& base, QProcessEnvironment&) { return base + "/cache/mirabo"; }, "",
     nullptr},
    {"InTheHomeCacheFolderWithoutXdgCacheHome",
     [](const QString& base, QProcessEnvironment& environment) {
         environment.remove("XDG_CACHE_HOME");
         return base + "/home/.cache/mirabo";
     },
     "", nullptr},
    {"InTheCacheFolderWhenTheRuntimeFolderIsOpenToOthers",
     [](const QString& base, QProcessEnvironment& environment) {
         EXPECT_TRUE(MakeFolder(base + "/run", 0755));
         environment.insert("XDG_RUNTIME_DIR", base + "/run");
         return base + "/cache/mirabo";
     },
     "", nullptr},
    {"TooLongForASocketAddress",
     [](const QString& base, QProcessEnvironment& environment) {
         const QString cache = base + '/' + QString(120, 'c');
         environment.insert("XDG_CACHE_HOME", cache);
         return cache + "/mirabo";
     },
     "", nullptr},
    {"SymbolicLink",
     [](const QString& base, QProcessEnvironment&) {
         EXPECT_TRUE(MakeFolder(base + "/elsewhere", 0700));
         EXPECT_TRUE(MakeFolder(base + "/cache", 0700));
         EXPECT_TRUE(QFile::link(base + "/elsewhere", base + "/cache/mirabo"));
         return QString();
     },
     "is a symbolic link", [](const QString& base) { return EmptyFolder(base + "/elsewhere"); }},
    {"File",
     [](const QString& base, QProcessEnvironment&) {
         EXPECT_TRUE(MakeFolder(base + "/cache", 0700));
         QFile file(base + "/cache/mirabo");
         EXPECT_TRUE(file.open(QIODevice::WriteOnly));
         return QString();
     },
     "is not a folder", [](const QString& base) { return QFileInfo(base + "/cache/mirabo").size() == 0; }},
    OpenFolder("FolderOpenToOthers", 0755, "is open to other users (mode 0755)"),
    OpenFolder("FolderOpenToItsGroup", 0750, "is open to other users (mode 0750)"),
    OpenFolder("FolderWritableByItsGroup", 0770, "is open to other users (mode 0770)"),
    {"AnotherUsersFolder",
     [](const QString& base, QProcessEnvironment&) {
         EXPECT_TRUE(MakeFolder(base + "/cache/mirabo", 0700));
         EXPECT_EQ(chown((base + "/cache/mirabo").toLocal8Bit().constData(), 65534, 65534), 0);
         return QString();
     },
     "belongs to another user", [](const QString& base) { return EmptyFolder(base + "/cache/mirabo"); }},
};

INSTANTIATE_TEST_SUITE_P(Folders, PrivateFolderTest, ::testing::ValuesIn(kCases), RowName());

}  // namespace
