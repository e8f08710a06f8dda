#pragma once
// Posted messages: work deferred until the handler that posts it (a key, a
// click, an undo step) has returned. Posted work is taken before any keyboard
// or mouse input that reaches the program after it was posted, as the program
// expects of its platform: keys typed ahead, or queued while the program was
// busy, find the work of the keys before them done.
#include <functional>

class QObject;

// Runs Work later on the program's thread, in the order posted, unless
// Receiver (when given) is gone by then: a message to a window that no longer
// exists is dropped.
void PostMessage(QObject* Receiver, std::function<void()> Work);

// The longest pause between the two clicks of a double click, in milliseconds,
// as the desktop sets it.
unsigned GetDoubleClickTime();
