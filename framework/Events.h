#pragma once
// The event types that components raise: each event is one handler held in a std::function,
// called with the component that raised it.

#include <QChar>
#include <QObject>
#include <functional>

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Bits of the shift state that mouse and key events carry.
enum TShiftStateBit {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

using TNotifyEvent = std::function<void(QObject* sender)>;
// The character may be changed, or set to 0 to swallow the key.
using TKeyPressEvent = std::function<void(QObject* sender, QChar& key)>;
using TMouseEvent =
    std::function<void(QObject* sender, TMouseButton button, int shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject* sender, int shift, int x, int y)>;
using TCloseQueryEvent = std::function<void(QObject* sender, bool& canClose)>;
