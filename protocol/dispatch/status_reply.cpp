// What an intact StatusReply or StateReport writes into the device panels that show its ID.

#include "app/main_form.h"

// FIXME: the Real-time Control page fills this in with its device panels (running flag, lock
// box, channel indicators and buttons, and with the mask step the mask boxes); until it is
// built a status reply changes no control.
void TForm1::ApplyStatus(std::span<const uint8_t>, bool) {}
