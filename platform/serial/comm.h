#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace serial {

// The serial communications interface of the system this console was made for, on termios.
// A handle is a file descriptor of the open device.
using HANDLE = int;
inline constexpr HANDLE INVALID_HANDLE_VALUE = -1;

// Line settings in the shape of the system's device control block; only the fields the
// console and its tests need.
inline constexpr uint8_t NOPARITY = 0;
inline constexpr uint8_t ODDPARITY = 1;
inline constexpr uint8_t EVENPARITY = 2;
inline constexpr uint8_t ONESTOPBIT = 0;
inline constexpr uint8_t TWOSTOPBITS = 2;

struct DCB {
    uint32_t BaudRate = 0;
    uint8_t ByteSize = 8;  // 5 to 8
    uint8_t Parity = NOPARITY;
    uint8_t StopBits = ONESTOPBIT;
    bool fBinary = true;        // always: the line carries raw bytes
    bool fOutxCtsFlow = false;  // hardware flow control, as the driver reports it
    bool fOutX = false;         // XON/XOFF on output (SetCommState turns it off)
    bool fInX = false;          // XON/XOFF on input (SetCommState turns it off)
};

// Line errors reported (and cleared) by ClearCommError.
inline constexpr uint32_t CE_RXOVER = 0x0001;
inline constexpr uint32_t CE_OVERRUN = 0x0002;
inline constexpr uint32_t CE_RXPARITY = 0x0004;
inline constexpr uint32_t CE_FRAME = 0x0008;
inline constexpr uint32_t CE_BREAK = 0x0010;

struct COMSTAT {
    uint32_t cbInQue = 0;   // received bytes waiting in the driver
    uint32_t cbOutQue = 0;  // bytes not yet sent
};

inline constexpr uint32_t PURGE_TXCLEAR = 0x0004;
inline constexpr uint32_t PURGE_RXCLEAR = 0x0008;

// Opens the device "COMn" (see com_ports.h for where it lives) for reading and writing, without
// sharing, as an existing device. Fails, returning INVALID_HANDLE_VALUE, when the name is no
// COM port, the device is absent or not a terminal, or another holder already has it open (an
// advisory lock taken without waiting, plus the terminal's exclusive mode against programs that
// do not lock).
HANDLE CreateFileA(std::string_view name);

// Reads the current line settings.
bool GetCommState(HANDLE h, DCB* dcb);
// Applies speed, byte size, parity and stop bits in raw mode (no echo, no line editing, no
// character translation, no XON/XOFF, modem lines ignored); hardware flow control stays as the
// driver has it.
// Fails when the device is no terminal, a value has no termios equivalent, or the terminal did
// not take the settings.
bool SetCommState(HANDLE h, const DCB& dcb);

// Gives the bytes waiting and clears any pending line error, reporting it in *errors (either
// pointer may be null). A failed query reports no bytes.
bool ClearCommError(HANDLE h, uint32_t* errors, COMSTAT* stat);
// Discards the received bytes (PURGE_RXCLEAR) and/or the unsent ones (PURGE_TXCLEAR).
bool PurgeComm(HANDLE h, uint32_t flags);

// Reads up to n bytes that are already waiting; never waits for more. *read gets the count.
bool ReadFile(HANDLE h, void* buffer, size_t n, size_t* read);
// One synchronous write of all n bytes. A line that takes none of them for a second gives up,
// so that a stuck port cannot hang the console; *written gets the count.
bool WriteFile(HANDLE h, const void* data, size_t n, size_t* written);

bool CloseHandle(HANDLE h);

}  // namespace serial
