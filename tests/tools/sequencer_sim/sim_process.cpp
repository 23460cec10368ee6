#include "sim_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace sequencer_sim::testing {

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) {
        throw std::runtime_error("pipe");
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        std::string path = SEQUENCER_SIM_PATH;
        argv.push_back(path.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line, read byte by byte so that nothing after it is taken.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (::poll(&p, 1, remaining_ms(deadline)) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') {
        first_line_ += c;
    }
    ::close(out[0]);
}

SimProcess::~SimProcess() {
    if (pid_ > 0 && wait_exit(std::chrono::milliseconds(0)) == -1) {
        ::kill(pid_, SIGTERM);
        ::kill(pid_, SIGCONT);  // a paused process takes the end only once it runs
        ::waitpid(pid_, nullptr, 0);
    }
}

void SimProcess::pause() {
    if (pid_ <= 0 || ::kill(pid_, SIGSTOP) != 0) {
        return;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WUNTRACED) == pid_ && !WIFSTOPPED(status)) {
        pid_ = -1;  // it ended instead; nothing is left to stop or end
    }
}

void SimProcess::resume() {
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
}

int SimProcess::wait_exit(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (true) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        }
        if (Clock::now() >= deadline) {
            return -1;
        }
        ::poll(nullptr, 0, 5);
    }
}

uint16_t SimProcess::port() const {
    const size_t colon = first_line_.rfind(':');
    return colon == std::string::npos
               ? 0
               : static_cast<uint16_t>(std::stoi(first_line_.substr(colon + 1)));
}

std::string SimProcess::pty_path() const {
    return first_line_.rfind("pty ", 0) == 0 ? first_line_.substr(4) : std::string();
}

LineEnd LineEnd::tcp(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        throw std::runtime_error("connect to the simulator failed");
    }
    return LineEnd(fd);
}

LineEnd LineEnd::pty(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("open " + path);
    }
    return LineEnd(fd);
}

LineEnd::~LineEnd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void LineEnd::send(const protocol::Bytes& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw std::runtime_error("write to the simulator failed");
        }
        done += static_cast<size_t>(n);
    }
}

protocol::Bytes LineEnd::receive(size_t n, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    protocol::Bytes got;
    pollfd p{fd_, POLLIN, 0};
    while (got.size() < n && ::poll(&p, 1, remaining_ms(deadline)) > 0) {
        protocol::Byte buffer[1024];
        const ssize_t r = ::read(fd_, buffer, std::min(sizeof buffer, n - got.size()));
        if (r <= 0) {
            break;
        }
        got.insert(got.end(), buffer, buffer + r);
    }
    return got;
}

protocol::Bytes LineEnd::receive_some(std::chrono::milliseconds limit) {
    pollfd p{fd_, POLLIN, 0};
    protocol::Bytes got;
    if (::poll(&p, 1, static_cast<int>(limit.count())) > 0) {
        protocol::Byte buffer[1024];
        const ssize_t r = ::read(fd_, buffer, sizeof buffer);
        if (r > 0) {
            got.assign(buffer, buffer + r);
        }
    }
    return got;
}

bool LineEnd::closed_within(std::chrono::milliseconds limit) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(limit.count())) <= 0) {
        return false;
    }
    protocol::Byte b;
    return ::read(fd_, &b, 1) == 0;
}

std::vector<std::string> read_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace sequencer_sim::testing
