#pragma once
// Event and alignment types the toolkit's components share.

#include <functional>

class QObject;

namespace platform {

// Text alignment of captions.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A notification that carries only its sender.
using TNotifyEvent = std::function<void(QObject* Sender)>;

} // namespace platform
