#pragma once

#include <string>

namespace sequencer_sim {

// The simulator's end of a pseudo-terminal. The console opens the other end (the path) as its
// serial port. The simulator keeps that end open itself, in raw mode, so that the line neither
// echoes nor edits bytes and stays up while the console closes and reopens its port.
class PtyPort {
  public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Returns an error text, empty on success.
    std::string open();
    void close();
    int fd() const { return master_; }
    const std::string& path() const { return path_; }
    // Bytes written to the line that the console has not read yet.
    int unread_bytes() const;

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace sequencer_sim
