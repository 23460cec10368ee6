// Whatever the operator types or pastes into the page's edits: the ID reading gives a number
// the range checks can judge, and the delay grid either refuses the whole grid or builds a
// payload whose every delay byte carries at most 120 half units.
//
// Input: one byte whose bits, in turn, are the unit boxes, then up to 35 texts separated by
// 0x00 bytes: the working ID, then the 34 delay cells in grid order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "operator_input/delay_cells.h"
#include "pages/device_setup/checks/device_id.h"
#include "protocol/delay_byte.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t units = data[0];
    std::vector<std::string> texts(1 + 2 * operator_input::kDelayChannels);
    size_t t = 0;
    for (size_t i = 1; i < size && t < texts.size(); ++i) {
        if (data[i] == 0)
            ++t;
        else if (texts[t].size() < 4 || t == 0)
            texts[t].push_back(static_cast<char>(data[i]));  // the edits hold 4 characters
    }

    // A text with any character outside ASCII is no number: it reads as outside every range.
    const int32_t id = device_setup::ParseDeviceId(texts[0]);
    for (char ch : texts[0])
        if (static_cast<unsigned char>(ch) >= 0x80 && id != 999)
            std::abort();

    operator_input::DelayCells cells;
    for (int k = 0; k < operator_input::kDelayKinds; ++k) {
        for (int b = 0; b < operator_input::kDelayChannels; ++b) {
            const int n = k * operator_input::kDelayChannels + b;
            cells[k][b] = {texts[1 + n], ((units >> (n % 8)) & 1) != 0};
        }
    }
    const auto built = operator_input::BuildDelaysPayload(7, cells);
    if (!built.payload) {
        // The refused cell is one whose own check fails.
        const auto& cell = cells[built.refused.kind][built.refused.channel];
        if (protocol::encode_delay_text(cell.text, cell.minutes))
            std::abort();
        return 0;
    }
    const auto& payload = *built.payload;
    if (payload[0] != 7 || payload[1] != 0xA7)
        std::abort();
    for (size_t i = 2; i < payload.size(); ++i) {
        const int k = i < 19 ? 0 : 1;
        const int b = static_cast<int>(i) - (k == 0 ? 2 : 19);
        if (protocol::delay_halves_of(payload[i]) > protocol::kMaxDelayHalves ||
            protocol::delay_in_minutes(payload[i]) != cells[k][b].minutes)
            std::abort();
    }
    return 0;
}
