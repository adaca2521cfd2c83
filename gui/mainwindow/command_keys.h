// Which command key a key press is. The digit commands go by the key's place on the keyboard,
// not by the character it types: with Shift the toolkit names the 1 key "!", and on layouts whose
// number row types other characters unshifted (AZERTY: &, é, ") it never names it 1 at all.
#pragma once

class QKeyEvent;
class QString;

namespace tovimar {

// The key code of `e`, with the three digit keys of the number row given as Qt::Key_1 to Key_3
// whatever character they type. The keypad digits keep their own codes. `platform` is the Qt
// platform's name, which says what the event's native key codes mean.
int CommandKeyCode(const QKeyEvent& e, const QString& platform);

}  // namespace tovimar
