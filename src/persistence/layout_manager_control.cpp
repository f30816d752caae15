#include "persistence/layout_manager_control.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "persistence/desktop_metrics.h"
#include "persistence/ini_text.h"
#include "persistence/layout_manager.h"
#include "persistence/screen_fit.h"
#include "persistence/storage_session.h"

namespace vx {
namespace {

std::string pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }

std::string sizeKey(QSize desktop, int dpi) {
    return "Size(" + std::to_string(desktop.width()) + "x" + std::to_string(desktop.height()) + "x" +
           std::to_string(dpi) + ")";
}

std::string posKey(QSize desktop) {
    return "Pos(" + std::to_string(desktop.width()) + "x" + std::to_string(desktop.height()) + ")";
}

std::optional<int> toInt(std::string_view text) {
    const auto v = IniTextToInteger(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
    return static_cast<int>(*v);
}

// "left,top" or "width,height": each part that is an integer replaces its
// coordinate; a text without a comma changes nothing.
void applyPair(const std::string& text, int& first, int& second) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return;
    if (const auto a = toInt(std::string_view(text).substr(0, comma))) first = *a;
    if (const auto b = toInt(std::string_view(text).substr(comma + 1))) second = *b;
}

std::string readKeyed(ILayoutManagerStorage& s, const std::string& section, const std::string& keyed,
                      const char* plain) {
    std::string text = s.ReadString(section, keyed, "");
    if (text.empty()) text = s.ReadString(section, plain, "");
    return text;
}

bool isNormal(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

int stateOrdinal(const QWidget* w) {
    if (w->windowState() & Qt::WindowMinimized) return 1;
    if (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return 2;
    return 0;
}

constexpr int kStyleNormal = 0;
constexpr int kStyleStayOnTop = 3;

QObject* findChildNamed(QObject* owner, const QString& name) {
    if (!owner) return nullptr;
    return owner->findChild<QObject*>(name);
}

QWidget* topLevelNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

}  // namespace

void TLayoutManagerControlLayout::DeleteData() {
    if (!FLMC || !FLMC->Storage()) return;
    FLMC->Storage()->DeleteSection(FLMC->SectionName() + "\\Layout");
}

void TLayoutManagerControl::SetStorage(const ILayoutManagerStorageRef& storage) {
    if (storage == FStorage) return;
    if (FStorage) FStorage->Close();
    FStorage = storage;
}

void TLayoutManagerControl::SetComponent(QObject* component) {
    FComponent = component;
    FPropList = TPropInfoList(component);
    if (!qobject_cast<QWidget*>(component)) FOptions = 0;
}

void TLayoutManagerControl::SetProperties(const QStringList& names) {
    FProps.clear();
    for (const QString& n : names) {
        const bool dup = std::any_of(FProps.begin(), FProps.end(),
                                     [&](const QString& p) { return p.compare(n, Qt::CaseInsensitive) == 0; });
        if (!dup) FProps.append(n);
    }
    std::sort(FProps.begin(), FProps.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

void TLayoutManagerControl::SetOptions(TLayoutManagerControlOptions options) {
    if (qobject_cast<QWidget*>(FComponent.data())) FOptions = options;
}

void TLayoutManagerControl::SetLayout(std::unique_ptr<ILayoutManagerControlLayout> hook) {
    if (FLayout) FLayout->SetLayoutManagerControl(nullptr);
    FLayout = std::move(hook);
    if (FLayout) FLayout->SetLayoutManagerControl(this);
}

std::string TLayoutManagerControl::SectionName() const {
    if (FComponent && !(FLM && FLM->SectionNamesKept())) FSectionName = SectionNameOf(FComponent);
    return FSectionName;
}

void TLayoutManagerControl::DeleteData() {
    if (FStorage && FComponent) FStorage->DeleteSection(SectionName());
}

void TLayoutManagerControl::Save() {
    if (!FStorage || !FComponent) return;
    FStorage->Open(false);
    const TStorageSession session(*FStorage);
    const std::string section = SectionName();
    saveWindowLayout(*FStorage, section);
    saveProperties(*FStorage, section);
}

void TLayoutManagerControl::Restore() {
    if (!FStorage || !FComponent) return;
    FStorage->Open(true);
    const TStorageSession session(*FStorage);
    const std::string section = SectionName();
    restoreWindowLayout(*FStorage, section);
    restoreProperties(*FStorage, section);
}

void TLayoutManagerControl::saveWindowLayout(ILayoutManagerStorage& s, const std::string& section) {
    auto* w = qobject_cast<QWidget*>(FComponent.data());
    if (!w) return;
    if (IsForm(w)) {
        const TDesktopMetrics& m = DesktopMetrics();
        const QSize desktop = m.desktopSize();
        const bool normal = isNormal(w);
        if (HasOption(FOptions, loSize) && normal) {
            const std::string size = pair(w->width(), w->height());
            s.WriteString(section, "Size", size);
            s.WriteString(section, sizeKey(desktop, m.dpi(w)), size);
        }
        if (HasOption(FOptions, loPosition)) {
            if (normal && WindowsArePlaced()) {
                const std::string pos = pair(w->x(), w->y());
                s.WriteString(section, "Pos", pos);
                s.WriteString(section, posKey(desktop), pos);
            }
            s.WriteInteger(section, "Align", 0);  // windows are never aligned in a parent
        }
        if (HasOption(FOptions, loState) && !(w->windowState() & Qt::WindowMinimized))
            s.WriteInteger(section, "State", stateOrdinal(w));
        if (HasOption(FOptions, loStyle))
            s.WriteInteger(section, "Style",
                           (w->windowFlags() & Qt::WindowStaysOnTopHint) ? kStyleStayOnTop : kStyleNormal);
        if (const auto* form = dynamic_cast<const ILayoutAwareForm*>(w))
            s.WriteBoolean(section, "LayoutReadOnly", form->LayoutReadOnly());
        return;
    }
    if (HasOption(FOptions, loSize)) {
        s.WriteInteger(section, "Width", w->width());
        s.WriteInteger(section, "Height", w->height());
    }
    if (HasOption(FOptions, loPosition)) {
        s.WriteInteger(section, "Left", w->x());
        s.WriteInteger(section, "Top", w->y());
    }
    if (HasOption(FOptions, loState)) {
        s.WriteBoolean(section, "Visible", !w->isHidden());
        s.WriteBoolean(section, "Enabled", !w->testAttribute(Qt::WA_ForceDisabled));
    }
    if (FLayout) FLayout->Save();
}

void TLayoutManagerControl::restoreWindowLayout(ILayoutManagerStorage& s, const std::string& section) {
    auto* w = qobject_cast<QWidget*>(FComponent.data());
    if (!w) return;
    if (IsForm(w)) {
        const TDesktopMetrics& m = DesktopMetrics();
        const QSize desktop = m.desktopSize();
        // Where windows cannot be placed (native Wayland) a stored position is
        // neither restored nor overwritten with a made-up one.
        if (HasOption(FOptions, loPosition) && WindowsArePlaced()) {
            (void)s.ReadInteger(section, "Align", 0);
            int left = w->x(), top = w->y();
            applyPair(readKeyed(s, section, posKey(desktop), "Pos"), left, top);
            w->move(left, top);
        }
        if (HasOption(FOptions, loSize)) {
            int width = w->width(), height = w->height();
            applyPair(readKeyed(s, section, sizeKey(desktop, m.dpi(w)), "Size"), width, height);
            w->resize(width, height);
        }
        // A place stored on another arrangement of screens may lie off the
        // screens of now: the frame is moved fully onto the nearest one.
        // The stored place itself stays in the file.
        if (HasOption(FOptions, loPosition) && WindowsArePlaced()) {
            std::vector<QRect> areas;
            for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
            const QPoint fitted = FitOntoScreens(QRect(w->pos(), w->frameGeometry().size()), areas);
            if (fitted != w->pos()) w->move(fitted);
        }
        if (HasOption(FOptions, loState) && s.ValueExists(section, "State")) {
            const auto state = s.ReadInteger(section, "State", stateOrdinal(w));
            w->setWindowState(state == 2 ? Qt::WindowMaximized : state == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
        }
        if (HasOption(FOptions, loStyle) && s.ValueExists(section, "Style")) {
            const bool onTop = s.ReadInteger(section, "Style", kStyleNormal) == kStyleStayOnTop;
            if (onTop != bool(w->windowFlags() & Qt::WindowStaysOnTopHint)) {
                if (auto* form = dynamic_cast<ILayoutAwareForm*>(w)) {
                    form->SetWindowFlagInPlace(Qt::WindowStaysOnTopHint, onTop);
                } else {
                    const bool wasVisible = w->isVisible();
                    const QPoint at = w->pos();
                    w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hides a shown window
                    if (wasVisible) {
                        w->show();
                        w->move(at);
                    }
                }
            }
        }
        if (auto* form = dynamic_cast<ILayoutAwareForm*>(w))
            form->SetLayoutReadOnly(s.ReadBoolean(section, "LayoutReadOnly", form->LayoutReadOnly()));
        return;
    }
    if (HasOption(FOptions, loSize))
        w->resize(static_cast<int>(s.ReadInteger(section, "Width", w->width())),
                  static_cast<int>(s.ReadInteger(section, "Height", w->height())));
    if (HasOption(FOptions, loPosition)) {
        (void)s.ReadInteger(section, "Align", 0);
        w->move(static_cast<int>(s.ReadInteger(section, "Left", w->x())),
                static_cast<int>(s.ReadInteger(section, "Top", w->y())));
    }
    if (HasOption(FOptions, loState)) {
        w->setVisible(s.ReadBoolean(section, "Visible", !w->isHidden()));
        w->setEnabled(s.ReadBoolean(section, "Enabled", !w->testAttribute(Qt::WA_ForceDisabled)));
    }
    if (FLayout) FLayout->Restore();
}

void TLayoutManagerControl::saveProperties(ILayoutManagerStorage& s, const std::string& section) {
    QObject* c = FComponent;
    for (const QString& name : FProps) {
        const TPropInfo* info = FPropList.Find(name);
        if (!info) continue;
        const std::string key = info->name.toStdString();
        const QVariant v = info->read(c);
        switch (info->kind) {
            case TPropKind::Integer:
            case TPropKind::Int64:
            case TPropKind::Enumeration:
            case TPropKind::Set:
                s.WriteInteger(section, key, static_cast<std::int32_t>(v.toLongLong()));
                break;
            case TPropKind::Float: s.WriteFloat(section, key, v.toDouble()); break;
            case TPropKind::Char:
            case TPropKind::String: s.WriteString(section, key, v.toString().toStdString()); break;
            case TPropKind::StringList: {
                const QStringList lines = v.toStringList();
                const std::string sub = section + "\\" + key;
                if (lines.isEmpty()) {
                    s.WriteString(section, key, "TStringList");
                    // Without this an emptied list would come back with its old lines.
                    if (s.ValueExists(sub, "Count")) s.WriteInteger(sub, "Count", 0);
                    break;
                }
                s.WriteInteger(sub, "Count", lines.size());
                for (int i = 0; i < lines.size(); ++i) s.WriteString(sub, std::to_string(i), lines[i].toStdString());
                break;
            }
            case TPropKind::Component: {
                const QObject* target = v.value<QObject*>();
                if (!target) {
                    s.DeleteValue(section, key);
                    break;
                }
                QString text = target->objectName();
                const QWidget* targetOwner = OwnerOf(target);
                const QWidget* ownOwner = OwnerOf(c);
                if (targetOwner && (!ownOwner || targetOwner->objectName().compare(ownOwner->objectName(),
                                                                                   Qt::CaseInsensitive) != 0))
                    text = targetOwner->objectName() + "." + text;
                s.WriteString(section, key, text.toStdString());
                break;
            }
        }
    }
}

void TLayoutManagerControl::restoreProperties(ILayoutManagerStorage& s, const std::string& section) {
    QObject* c = FComponent;
    for (const QString& name : FProps) {
        const TPropInfo* info = FPropList.Find(name);
        if (!info) continue;
        const std::string key = info->name.toStdString();
        const QMetaProperty& p = info->property;
        const QVariant current = info->read(c);
        switch (info->kind) {
            case TPropKind::Integer:
            case TPropKind::Int64:
            case TPropKind::Enumeration:
            case TPropKind::Set: {
                const auto v = s.ReadInteger(section, key, static_cast<std::int32_t>(current.toLongLong()));
                if (p.metaType().id() == QMetaType::Bool)
                    p.write(c, v != 0);
                else
                    p.write(c, QVariant::fromValue<qlonglong>(v));
                break;
            }
            case TPropKind::Float: p.write(c, s.ReadFloat(section, key, current.toDouble())); break;
            case TPropKind::Char:
            case TPropKind::String:
                p.write(c, QString::fromStdString(s.ReadString(section, key, current.toString().toStdString())));
                break;
            case TPropKind::StringList: {
                const std::string sub = section + "\\" + key;
                if (!s.ValueExists(sub, "Count")) break;
                // The stored lines replace the list; appending them would
                // double a list that has lines of its own on every start.
                // A count is only as good as the lines behind it: a hostile
                // or damaged file must not make the restore read forever.
                std::vector<std::string> keys;
                s.ReadSection(sub, keys);
                const auto count = std::min<std::int64_t>(s.ReadInteger(sub, "Count", 0),
                                                          static_cast<std::int64_t>(keys.size()));
                QStringList lines;
                for (std::int64_t i = 0; i < count; ++i)
                    lines.append(QString::fromStdString(s.ReadString(sub, std::to_string(i), "")));
                p.write(c, lines);
                break;
            }
            case TPropKind::Component: {
                const QString text = QString::fromStdString(s.ReadString(section, key, ""));
                if (text.isEmpty()) break;
                QObject* found = nullptr;
                const auto dot = text.indexOf(QLatin1Char('.'));
                if (dot >= 0) {
                    found = findChildNamed(topLevelNamed(text.left(dot)), text.mid(dot + 1));
                } else {
                    QObject* scope = OwnerOf(c);
                    if (!scope) scope = FLM ? FLM->Owner() : nullptr;
                    found = findChildNamed(scope, text);
                }
                const QMetaObject* wanted = p.metaType().metaObject();
                if (found && (!wanted || found->metaObject()->inherits(wanted)))
                    p.write(c, QVariant::fromValue(found));
                break;
            }
        }
    }
}

}  // namespace vx
