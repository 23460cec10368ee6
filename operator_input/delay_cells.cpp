#include "operator_input/delay_cells.h"

#include "protocol/delay_byte.h"

namespace operator_input {

DelaysOrRefusal BuildDelaysPayload(protocol::Byte id, const DelayCells& cells) {
    std::array<std::array<protocol::Byte, kDelayChannels>, kDelayKinds> bytes{};
    for (int k = 0; k < kDelayKinds; ++k) {
        for (int b = 0; b < kDelayChannels; ++b) {
            const DelayCell& cell = cells[k][b];
            const auto byte = protocol::encode_delay_text(cell.text, cell.minutes);
            if (!byte)
                return {std::nullopt, {k, b}};
            bytes[k][b] = *byte;
        }
    }
    return {protocol::WriteDelays(id, bytes[0], bytes[1]), {}};
}

}  // namespace operator_input
