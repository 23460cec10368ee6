// Any batch of 1 to 41 bytes, after any short request, with a real-time command pending or not:
// the dispatcher keeps running, writes only a decimal ID into the ID edit, and leaves the
// send-failure watch and the status bar alone for anything that is no reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "forms/status_bar.h"
#include "forms/timer.h"
#include "fuzz/link/fuzz_window.h"
#include "protocol/replies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static link_fuzz::FuzzWindow window;
    if (size < 6)
        return 0;
    // Six bytes of context: the last short payload, the pending flag and the shown device.
    std::copy_n(data, 4, Form1->LastShortPayload.begin());
    Form1->PendingFlag = (data[4] & 1) != 0;
    Form1->Ed_conn_id->SetText(data[4] & 2 ? std::to_string(data[5]) : std::string("x"));
    Form1->Ed_read_id->SetText("1");
    Form1->Timer1->SetEnabled(true);
    Form1->StatusBar1->Panels(2).SetText("Status:");

    const std::span<const uint8_t> batch(data + 6, std::min<size_t>(size - 6, 41));
    if (batch.empty())
        return 0;
    Form1->HandleReply(batch);

    if (!link_fuzz::ShowsDecimalId(Form1->Ed_read_id->Text()))
        std::abort();
    // Whatever is not a reply (nor two identical copies of one) leaves the watch running and the
    // status bar as it was.
    const bool unknown =
        protocol::classify_reply(protocol::single_reply(batch)) == protocol::ReplyKind::Unknown;
    if (unknown && (!Form1->Timer1->Enabled() || Form1->StatusBar1->Panels(2).Text() != "Status:"))
        std::abort();
    return 0;
}
