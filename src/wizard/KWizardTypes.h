#pragma once

// Types shared by the wizard, its pages, buttons and route map.

#include "platform/ToolkitTypes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>

class QObject;
class QPainter;

namespace wizard {

using platform::TNotifyEvent;

class TKWizard;
class TKWizardCustomPage;
class TKWizardRouteMapControl;
struct TRect;

enum TKWizardButtonKind { bkStart, bkLast, bkBack, bkNext, bkFinish, bkCancel, bkHelp };
constexpr int KWizardButtonKindCount = 7;

// A set of button kinds, one bit per kind ordinal.
class TKWizardButtonSet {
public:
    constexpr TKWizardButtonSet() = default;
    constexpr TKWizardButtonSet(std::initializer_list<TKWizardButtonKind> kinds) {
        for (TKWizardButtonKind k : kinds)
            FBits |= Bit(k);
    }
    static constexpr TKWizardButtonSet All() { return FromBits(0x7F); }
    static constexpr TKWizardButtonSet FromBits(std::uint8_t bits) {
        TKWizardButtonSet s;
        s.FBits = bits & 0x7F;
        return s;
    }

    constexpr bool Contains(TKWizardButtonKind k) const { return (FBits & Bit(k)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr std::uint8_t Bits() const { return FBits; }
    constexpr TKWizardButtonSet With(TKWizardButtonKind k) const { return FromBits(FBits | Bit(k)); }
    constexpr TKWizardButtonSet Without(TKWizardButtonKind k) const { return FromBits(FBits & ~Bit(k)); }
    constexpr bool operator==(const TKWizardButtonSet&) const = default;

private:
    static constexpr std::uint8_t Bit(TKWizardButtonKind k) { return std::uint8_t(1u << unsigned(k)); }
    std::uint8_t FBits = 0;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Dialog codes handed to a modal window; 2 is "cancel".
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TKWizardSelectPageEvent =
    std::function<void(TKWizard* Sender, TKWizardCustomPage* FromPage, TKWizardCustomPage*& ToPage)>;
using TKWizardChangePageEvent = std::function<void(TKWizardCustomPage* Sender, TKWizardCustomPage* Page)>;
using TKWizardPageClickEvent = std::function<void(TKWizardCustomPage* Sender, bool& Stop)>;
using TKWizardPaintPageEvent =
    std::function<void(TKWizardCustomPage* Sender, QPainter& ACanvas, TRect& ARect)>;
using TKWizardRouteMapDisplayEvent =
    std::function<void(TKWizardRouteMapControl* Sender, TKWizardCustomPage* Page, bool& AllowDisplay)>;

// The framework's exception.
class EKWizard : public std::runtime_error {
public:
    explicit EKWizard(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// The application's help system: shows the numbered help topic. Unset means no help.
std::function<void(int HelpContext)>& ApplicationHelpHook();

} // namespace wizard
