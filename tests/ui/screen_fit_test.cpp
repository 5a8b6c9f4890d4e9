// The scale the handheld's screen is drawn at: the largest that lets the
// desktop window fit the desktop's available area, and at every scale that
// can be chosen, every control of every dialog whole inside its dialog.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calc/calculators.h"
#include "platform/linux/screen_scale.h"
#include "platform/linux/widgets.h"
#include "res/resource.h"
#include "tests/ui/accessibility_driver.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/named_rows.h"
#include "ui/calculator_dialogs.h"
#include "ui/main_window.h"

namespace {

using mirabo::platform::ChooseScale;
using mirabo::test::PrintTo;
using mirabo::test::RowName;

const QSize kHandheld(320, 240);

struct ScaleCase {
    const char* name;
    QSize available;    // the desktop's available area, device-independent pixels
    double ratio;       // device pixels per device-independent pixel
    const char* asked;  // MIRABO_SCALE; null: not set
    double scale;
    const char* notice;  // the line for the user; null: none
};

// clang-format off
const ScaleCase kScaleCases[] = {
    {"FullHd",                      {1920, 1080}, 1,    nullptr, 2,    nullptr},
    {"Laptop1366UnderAPanel",       {1366, 728},  1,    nullptr, 2,    nullptr},
    {"Small800x600UnderAPanel",     {800, 570},   1,    nullptr, 2,    nullptr},
    {"Vga",                         {640, 480},   1,    nullptr, 1.75, nullptr},
    {"QtScaleFactor2On1280x800",    {640, 400},   2,    nullptr, 1.5,  nullptr},
    {"FontDpi192On1280x800",        {640, 400},   2,    nullptr, 1.5,  nullptr},
    {"HighDpi2560x1600",            {1280, 800},  2,    nullptr, 2,    nullptr},
    {"Ratio125On1920x1080",         {1536, 864},  1.25, nullptr, 2,    nullptr},
    {"Ratio150On1366x768",          {910, 512},   1.5,  nullptr, 2,    nullptr},
    {"Ratio150On1280x720",          {853, 480},   1.5,  nullptr, 1.75, nullptr},
    {"QtScaleFactor4On1280x800",    {320, 200},   4,    nullptr, 0.75, nullptr},
    {"TinyScreenGetsTheSmallest",   {200, 150},   1,    nullptr, 0.5,  nullptr},
    // A window with its frame exactly as wide or as high as the area fits.
    {"WidthFitsExactly",            {656, 1080},  1,    nullptr, 2,    nullptr},
    {"HeightFitsExactly",           {1920, 528},  1,    nullptr, 2,    nullptr},
    {"LoweredToAScaleThatFitsExactly", {576, 468}, 1,   nullptr, 1.75, nullptr},
    {"AskedAndFitsExactly",         {976, 768},   1,    "3",     3,    nullptr},
    {"AskedAndFits",                {1920, 1080}, 1,    "3",     3,    nullptr},
    {"AskedBetweenSteps",           {1920, 1080}, 1,    "1.3",   1.3,  nullptr},
    {"Asked4On1280x800",            {1280, 800},  1,    "4",     3,
     "mirabo: MIRABO_SCALE=4 does not fit the screen's available 1280x800; using 3"},
    {"Asked4On1280x800UnderAPanel", {1280, 770},  1,    "4",     3,
     "mirabo: MIRABO_SCALE=4 does not fit the screen's available 1280x770; using 3"},
    {"Asked4On1280x1024",           {1280, 1024}, 1,    "4",     3.75,
     "mirabo: MIRABO_SCALE=4 does not fit the screen's available 1280x1024; using 3.75"},
    {"Asked4WithQtScaleFactor2",    {640, 400},   2,    "4",     1.5,
     "mirabo: MIRABO_SCALE=4 does not fit the screen's available 640x400; using 1.5"},
    {"Asked8OnFullHd",              {1920, 1080}, 1,    "8",     4.25,
     "mirabo: MIRABO_SCALE=8 does not fit the screen's available 1920x1080; using 4.25"},
    {"AskedSmallerThanTheDefault",  {640, 400},   2,    "1",     1,    nullptr},
    {"NotANumber",                  {1920, 1080}, 1,    "big",   2,
     "mirabo: MIRABO_SCALE=big is not a scale from 1 to 8; using 2"},
    {"OutOfRange",                  {1920, 1080}, 1,    "9",     2,
     "mirabo: MIRABO_SCALE=9 is not a scale from 1 to 8; using 2"},
    {"Empty",                       {1920, 1080}, 1,    "",      2,    nullptr},
    // The text goes into the line as it is, a "%2" in it too.
    {"PercentInTheText",            {1920, 1080}, 1,    "%2x",   2,
     "mirabo: MIRABO_SCALE=%2x is not a scale from 1 to 8; using 2"},
};
// clang-format on

class ScaleChoiceTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleChoiceTest, IsTheLargestThatFitsUpToTheOneAskedFor) {
    const ScaleCase& c = GetParam();
    mirabo::platform::ScaleChoice choice = ChooseScale(c.available, c.ratio, kHandheld, c.asked);
    EXPECT_DOUBLE_EQ(choice.scale, c.scale);
    EXPECT_EQ(choice.notice.toStdString(), c.notice != nullptr ? c.notice : "");
    EXPECT_FALSE(choice.notice.contains(QLatin1Char('\n')));
    // The window with its frame fits, or the scale is the smallest there is.
    QSize frame = mirabo::platform::FrameRoom(c.ratio);
    bool fits = std::lround(320 * choice.scale) + frame.width() <= c.available.width() &&
                std::lround(240 * choice.scale) + frame.height() <= c.available.height();
    EXPECT_TRUE(fits || choice.scale == mirabo::platform::kSmallestScale);
}

INSTANTIATE_TEST_SUITE_P(Screens, ScaleChoiceTest, ::testing::ValuesIn(kScaleCases), RowName());

// The program's desktop window on a desktop that Qt sets up from the
// environment: its screen, device-pixel ratio, scale factor and font DPI.
struct DesktopCase {
    const char* name;
    QSize screen;  // as Qt reports it, device-independent pixels
    double ratio;  // of the screen itself
    const char* environment;
    double scale;
    bool notice;
};

// clang-format off
const DesktopCase kDesktops[] = {
    {"Plain1280x800",            {1280, 800}, 1,   "",                      2,    false},
    {"QtScaleFactor2On1280x800", {1280, 800}, 1,   "QT_SCALE_FACTOR=2",     1.5,  false},
    {"FontDpi192On1280x800",     {1280, 800}, 1,   "QT_FONT_DPI=192",       1.5,  false},
    {"QtScaleFactor1_5",         {1280, 800}, 1,   "QT_SCALE_FACTOR=1.5",   2,    false},
    {"HighDpiScreen",            {1280, 800}, 2,   "",                      2,    false},
    {"HighDpiScreen1280x720",    {853, 480},  1.5, "",                      1.75, false},
    {"Asked4On1280x800",         {1280, 800}, 1,   "MIRABO_SCALE=4",        3,    true},
    {"Asked4WithScaleFactor2",   {1280, 800}, 1,   "MIRABO_SCALE=4 QT_SCALE_FACTOR=2", 1.5, true},
};
// clang-format on

class DesktopFitTest : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopFitTest, TheWholeWindowWithItsFrameFitsTheAvailableArea) {
    const DesktopCase& c = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("{\"screens\":[{\"name\":\"s\",\"x\":0,\"y\":0,\"width\":%1,\"height\":%2,"
                              "\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":%3}]}")
                   .arg(c.screen.width())
                   .arg(c.screen.height())
                   .arg(c.ratio)
                   .toUtf8());
    file.close();
    QString errors = folder.filePath(QStringLiteral("stderr"));
    QString command =
        QStringLiteral(
            "env -u MIRABO_SCALE -u QT_SCALE_FACTOR -u QT_FONT_DPI %1 "
            "QT_QPA_PLATFORM=offscreen:configfile=%2 %3 2>%4")
            .arg(QString::fromLatin1(c.environment), config, QStringLiteral(MIRABO_FIT_PROBE), errors);
    FILE* pipe = popen(command.toLocal8Bit().constData(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char chunk[256];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) out.append(chunk, n);
    int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the window does not fit:\n" << out;
    EXPECT_EQ(out.rfind("scale " + QString::number(c.scale).toStdString() + "\n", 0), 0u) << out;
    QFile err(errors);
    ASSERT_TRUE(err.open(QIODevice::ReadOnly));
    QList<QByteArray> notices;
    for (const QByteArray& line : err.readAll().split('\n')) {
        if (line.startsWith("mirabo:")) notices << line;
    }
    EXPECT_EQ(notices.size(), c.notice ? 1 : 0) << notices.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopFitTest, ::testing::ValuesIn(kDesktops), RowName());

struct DialogUnderTest {
    std::string name;
    int templateId;
    DLGPROC procedure;
};

// Every calculator of the register, and the About box.
std::vector<DialogUnderTest> Dialogs() {
    std::vector<DialogUnderTest> dialogs;
    for (const mirabo::Calculator* calculator : mirabo::kCalculators) {
        dialogs.push_back(
            {std::string(calculator->id), calculator->templateId, CalculatorDialogProcedure(*calculator)});
    }
    dialogs.push_back({"About", IDD_ABOUT, AboutDlgProc});
    return dialogs;
}

const double kScales[] = {0.5, 0.75, 1, 1.25, 1.5, 1.75, 2, 2.5, 3, 3.75, 4, 4.25};

class ScaledLayoutTest : public ::testing::TestWithParam<std::tuple<double, DialogUnderTest, LANGID>> {
protected:
    void TearDown() override { mirabo::testing::UseScreenScale(2); }
};

// Every control lies whole inside its dialog, the dialog inside the work area,
// and the text of a label or button is not cut by its control, in Japanese
// and in English.
TEST_P(ScaledLayoutTest, NothingIsClipped) {
    const auto& [scale, d, language] = GetParam();
    ASSERT_TRUE(mirabo::testing::UseScreenScale(scale));
    mirabo::test::UiLanguage inLanguage(language);
    mirabo::test::RunDialog(d.templateId, d.procedure, [&](HWND dialog) {
        QWidget* dialogWidget = mirabo::testing::WidgetOf(dialog);
        QRect work = mirabo::testing::WorkArea();
        EXPECT_TRUE(work.contains(dialogWidget->geometry())) << "dialog outside the work area";
        QRect client = dialogWidget->rect();
        for (QWidget* child : dialogWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible()) continue;
            HWND control = mirabo::testing::WindowOf(child);
            std::string what = std::to_string(mirabo::testing::ControlId(control)) + " \"" +
                               mirabo::test::TextOf(control).toStdString() + "\"";
            EXPECT_TRUE(client.contains(child->geometry())) << what << " leaves the dialog";
            QString text = mirabo::test::TextOf(control);
            if (text.isEmpty() || qobject_cast<QLineEdit*>(child) != nullptr) continue;
            // The text's ink, placed as the control draws it: a label's
            // from the top, a button's centred.
            QFontMetrics metrics(child->font());
            text.remove(QLatin1Char('&'));
            QRect ink = metrics.tightBoundingRect(text);
            QRect laidOut(QPoint(0, 0), child->size());
            int flags = Qt::AlignCenter;
            if (auto* label = dynamic_cast<mirabo::platform::StaticWidget*>(child)) {
                laidOut = label->TextRect();
                flags = Qt::AlignTop | Qt::AlignLeft;
                // A label's words wrap at its width: each label is one line,
                // or its next lines lie under the control below it. (Below
                // scale 1 the stand-in font wraps the Japanese "抵抗（Ω）".)
                QRect wrapped = metrics.boundingRect(laidOut, flags | Qt::TextWordWrap, text);
                if (scale >= 1) {
                    EXPECT_LT(wrapped.height(), metrics.height() + metrics.lineSpacing() / 2)
                        << what << " wraps onto a second line";
                }
            }
            QRect line = metrics.boundingRect(laidOut, flags | Qt::TextSingleLine, text);
            ink.translate(line.left(), line.top() + metrics.ascent());
            EXPECT_TRUE(QRect(QPoint(0, 0), child->size()).contains(ink))
                << what << " is cut: ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                << ink.height() << " in " << child->width() << "x" << child->height();
        }
        if (d.templateId == IDD_ABOUT) {
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        } else {
            EndDialog(dialog, IDC_BACK);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ScaledLayoutTest,
    ::testing::Combine(::testing::ValuesIn(kScales), ::testing::ValuesIn(Dialogs()),
                       ::testing::Values(mirabo::test::kJapanese, mirabo::test::kEnglish)),
    [](const auto& info) {
        QString scale = QString::number(std::get<0>(info.param)).replace(QLatin1Char('.'), QLatin1Char('_'));
        const char* language = std::get<2>(info.param) == mirabo::test::kEnglish ? "InEnglish" : "";
        return std::get<1>(info.param).name + "At" + scale.toStdString() + language;
    });

// The focus mark of a push button stays clear of its text at every scale:
// all that taking the focus changes in the button's picture (the focus mark,
// and the default button's heavier frame moving to it) lies outside the
// ink of its text.
class FocusMarkTest : public ::testing::TestWithParam<double> {
protected:
    void TearDown() override { mirabo::testing::UseScreenScale(2); }
};

TEST_P(FocusMarkTest, StaysClearOfTheButtonsText) {
    ASSERT_TRUE(mirabo::testing::UseScreenScale(GetParam()));
    mirabo::test::RunDialog(IDD_RIGHT_TRIANGLE, RightTriangleDlgProc, [&](HWND dialog) {
        ASSERT_TRUE(mirabo::test::WaitUntilActive());
        QWidget* field = mirabo::test::ControlWidget(dialog, IDC_RIGHT_A);
        for (int id : {IDC_RIGHT_CALCULATE, IDC_RIGHT_CLEAR}) {
            SCOPED_TRACE(id);
            QWidget* button = mirabo::test::ControlWidget(dialog, id);
            field->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            const QImage plain = button->grab().toImage();
            button->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            ASSERT_TRUE(button->hasFocus());
            const QImage focused = button->grab().toImage();
            ASSERT_EQ(plain.size(), focused.size());
            const QString text = mirabo::test::TextOf(GetDlgItem(dialog, id));
            QFontMetrics metrics(button->font());
            QRect line = metrics.boundingRect(button->rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
            QRect ink =
                metrics.tightBoundingRect(text).translated(line.left(), line.top() + metrics.ascent());
            int changed = 0;
            int onText = 0;
            for (int y = 0; y < plain.height(); ++y) {
                for (int x = 0; x < plain.width(); ++x) {
                    if (plain.pixel(x, y) == focused.pixel(x, y)) continue;
                    ++changed;
                    if (ink.adjusted(-1, -1, 1, 1).contains(x, y)) ++onText;
                }
            }
            EXPECT_GT(changed, 0) << "no focus mark";
            EXPECT_EQ(onText, 0) << "the focus changes " << onText << " pixels on the text " << ink.x() << ","
                                 << ink.y() << " " << ink.width() << "x" << ink.height() << " of "
                                 << button->width() << "x" << button->height();
        }
        EndDialog(dialog, IDC_BACK);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Scales, FocusMarkTest, ::testing::Values(1, 1.5, 2, 2.5, 3, 4),
    [](const ::testing::TestParamInfo<double>& info) {
        return "At" + QString::number(info.param).replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
    });

}  // namespace
