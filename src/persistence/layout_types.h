#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <QVariant>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

class QObject;
class QWidget;

namespace vx {

class TLayoutManager;

// Raised for a stored-value name that another value already has.
class ELayoutManager : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which parts of a window's layout are kept: bit n for option n.
enum TLayoutManagerControlOption { loPosition = 0, loSize = 1, loState = 2, loStyle = 3 };
using TLayoutManagerControlOptions = std::uint8_t;
inline constexpr TLayoutManagerControlOptions kAllLayoutOptions = 0x0F;
constexpr bool HasOption(TLayoutManagerControlOptions set, TLayoutManagerControlOption o) {
    return (set >> o) & 1u;
}
constexpr TLayoutManagerControlOptions Without(TLayoutManagerControlOptions set, TLayoutManagerControlOption o) {
    return static_cast<TLayoutManagerControlOptions>(set & ~(1u << o));
}

using TLayoutNotifyEvent = std::function<void(TLayoutManager* sender)>;

// Stored values are QVariants. These are the kinds the settings file tells
// apart; Empty is a variant never assigned, Null the answer for a name that
// no value has.
enum class TValueKind { Empty, Null, Integer, Float, DateTime, Boolean, String, Other };
TValueKind KindOfValue(const QVariant& v);
QVariant NullValue();
inline bool IsNullValue(const QVariant& v) { return KindOfValue(v) == TValueKind::Null; }

// The class name that names a settings section: without any C++ namespace.
std::string SectionClassName(const QObject* object);

// Forms are top-level widgets; everything else is owned by the nearest form
// above it (its owner), or by nothing.
bool IsForm(const QObject* object);
QWidget* OwnerOf(const QObject* object);

// The section of a registered component: a form's class name; for anything
// else its object name after the class names of its owners, each followed by
// a backslash, up to the first form ("Twnd_vx_Main\Tree"). Without an owner,
// its class name.
std::string SectionNameOf(const QObject* component);

}  // namespace vx

namespace vx {

// Implemented by layout-aware forms, whose "LayoutReadOnly" setting is
// saved and restored with their layout.
class ILayoutAwareForm {
public:
    virtual ~ILayoutAwareForm() = default;
    virtual bool LayoutReadOnly() const = 0;
    virtual void SetLayoutReadOnly(bool value) = 0;
    // Turns a window flag on or off the way a style change works: the
    // window stays shown, its frame keeps its place on screen, and the
    // re-show that Qt needs for it restores nothing.
    virtual void SetWindowFlagInPlace(Qt::WindowType flag, bool on) = 0;
};

}  // namespace vx
