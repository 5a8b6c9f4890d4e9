// mirabo_web_data FOLDER: writes what the web page shows of the program's
// compiled resources into FOLDER: resources.json (per resource language, the
// string table, the menus, the menu-bar data and the dialog templates, each
// field with the label that names it) and pictures/N.png for each bitmap N.
// Nothing the page shows is typed twice: it all comes from res/mirabo.rc.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <map>
#include <vector>

#include "platform/field_labels.h"
#include "platform/linux/dialog_template.h"
#include "platform/linux/dib.h"
#include "platform/linux/menu_resource.h"
#include "platform/linux/resource_directory.h"
#include "platform/linux/string_table.h"
#include "platform/menu_bar_data.h"

namespace {

using namespace mirabo::platform;

constexpr WORD kTypeBitmap = 2, kTypeMenu = 4, kTypeDialog = 5, kTypeString = 6, kTypeData = 10;
constexpr DWORD kButtonDefault = 0x0001;  // BS_DEFPUSHBUTTON
constexpr DWORD kEditReadOnly = 0x0800;   // ES_READONLY
constexpr DWORD kStaticTypeMask = 0x001F, kStaticBitmap = 0x000E, kStaticIcon = 0x0003;

QString Key(WORD ordinal) { return QString::number(ordinal); }

QJsonArray MenuItems(const std::vector<MenuItem>& items) {
    QJsonArray out;
    for (const MenuItem& item : items) {
        QJsonObject o;
        if (item.kind == MenuItem::Kind::Separator) {
            o["separator"] = true;
        } else {
            o["text"] = item.text;
            if (item.kind == MenuItem::Kind::Popup) {
                o["items"] = MenuItems(item.children);
            } else {
                o["command"] = item.id;
            }
        }
        out.append(o);
    }
    return out;
}

QString ClassName(ControlClass c) {
    switch (c) {
    case ControlClass::Button:
        return "button";
    case ControlClass::Edit:
        return "edit";
    case ControlClass::Static:
        return "static";
    case ControlClass::Other:
        break;
    }
    return "other";
}

QJsonObject Dialog(const DialogTemplate& t) {
    std::vector<ControlBox> boxes;
    for (const DialogItemTemplate& item : t.items) {
        const ControlClass c = item.Class();
        const bool isText = c == ControlClass::Static && item.title.isOrdinal == false;
        boxes.push_back({c == ControlClass::Edit ? ControlRole::Field
                         : isText                ? ControlRole::Label
                                                 : ControlRole::Other,
                         item.x, item.y, item.x + item.cx, item.y + item.cy});
    }
    const std::vector<int> labels = FieldLabels(boxes);
    QJsonArray items;
    for (std::size_t i = 0; i < t.items.size(); ++i) {
        const DialogItemTemplate& item = t.items[i];
        const ControlClass c = item.Class();
        QJsonObject o{{"class", ClassName(c)}, {"id", item.id == 0xFFFF ? -1 : int(item.id)},
                      {"x", item.x},           {"y", item.y},
                      {"cx", item.cx},         {"cy", item.cy}};
        if (item.title.isOrdinal) {
            o["resource"] = item.title.ordinal;
        } else {
            o["text"] = item.title.text;
        }
        if (c == ControlClass::Button) o["default"] = (item.style & kButtonDefault) != 0;
        if (c == ControlClass::Edit) o["readOnly"] = (item.style & kEditReadOnly) != 0;
        if (c == ControlClass::Static) {
            const DWORD type = item.style & kStaticTypeMask;
            o["picture"] = type == kStaticBitmap || type == kStaticIcon;
            o["align"] = type == 1 ? "center" : type == 2 ? "right" : "left";
        }
        if (labels[i] >= 0) {
            const DialogItemTemplate& label = t.items[labels[i]];
            o["label"] = QString::fromStdWString(LabelName(label.title.text.toStdWString(), false));
        }
        items.append(o);
    }
    return {{"caption", t.title},    {"cx", t.cx},    {"cy", t.cy}, {"font", t.faceName},
            {"points", t.pointSize}, {"items", items}};
}

QJsonObject MenuBar(const ResourceEntry& entry) {
    std::uint16_t menuId = 0;
    std::vector<MenuBarButton> buttons;
    if (!ParseMenuBarData(entry.data, entry.size, &menuId, &buttons)) return {};
    QJsonArray out;
    for (const MenuBarButton& b : buttons) {
        out.append(QJsonObject{{"command", b.command}, {"caption", b.caption}, {"popup", b.popup}});
    }
    return {{"menu", menuId}, {"buttons", out}};
}

bool Fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "mirabo_web_data: %s %s\n", what, qPrintable(detail));
    return false;
}

bool Export(const QString& folder) {
    std::map<WORD, QJsonObject> languages;  // by language identifier
    QJsonObject pictures;
    if (!QDir().mkpath(folder + "/pictures")) return Fail("cannot make", folder + "/pictures");
    for (const ResourceEntry& e : ProgramResources()) {
        if (!e.type.isOrdinal || !e.name.isOrdinal) continue;
        QJsonObject& lang = languages[e.language];
        const QString name = Key(e.name.ordinal);
        switch (e.type.ordinal) {
        case kTypeString: {
            QJsonObject strings = lang["strings"].toObject();
            for (UINT i = 0; i < 16; ++i) {
                const QString text = StringInBlock(e.data, e.size, i);
                if (!text.isNull()) strings[Key((e.name.ordinal - 1) * 16 + i)] = text;
            }
            lang["strings"] = strings;
            break;
        }
        case kTypeMenu: {
            std::vector<MenuItem> items;
            if (!ParseMenu(e.data, e.size, &items)) return Fail("unreadable menu", name);
            QJsonObject menus = lang["menus"].toObject();
            menus[name] = MenuItems(items);
            lang["menus"] = menus;
            break;
        }
        case kTypeData: {
            QJsonObject bars = lang["menuBars"].toObject();
            bars[name] = MenuBar(e);
            lang["menuBars"] = bars;
            break;
        }
        case kTypeDialog: {
            DialogTemplate t;
            if (!ParseDialogTemplate(e.data, e.size, &t)) return Fail("unreadable dialog", name);
            QJsonObject dialogs = lang["dialogs"].toObject();
            dialogs[name] = Dialog(t);
            lang["dialogs"] = dialogs;
            break;
        }
        case kTypeBitmap: {
            if (pictures.contains(name)) break;
            // A palette of the colours the picture uses, compressed hardest: the
            // pictures are a few flat colours, and every byte is downloaded.
            const QImage image =
                DecodeDib(e.data, e.size).convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
            const QString file = "pictures/" + name + ".png";
            if (image.isNull() || !image.save(folder + "/" + file, "PNG", 0))
                return Fail("cannot write", file);
            pictures[name] =
                QJsonObject{{"file", file}, {"width", image.width()}, {"height", image.height()}};
            break;
        }
        default:
            break;
        }
    }
    QJsonArray languageList;
    for (auto& [id, lang] : languages) {
        if (!lang.contains("dialogs")) continue;
        lang["language"] = id;
        languageList.append(lang);
    }
    QFile out(folder + "/resources.json");
    if (!out.open(QIODevice::WriteOnly)) return Fail("cannot write", out.fileName());
    const QByteArray json = QJsonDocument(QJsonObject{{"languages", languageList}, {"pictures", pictures}})
                                .toJson(QJsonDocument::Compact);
    if (out.write(json) != json.size() || !out.flush()) return Fail("cannot write", out.fileName());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mirabo_web_data FOLDER\n");
        return 64;
    }
    return Export(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
