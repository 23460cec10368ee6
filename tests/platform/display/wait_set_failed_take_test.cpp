// The idle wait takes the events of the watched descriptors in batches of eight. When taking a
// further batch fails, the events of the batches already taken must still reach the owners of
// the descriptors: the display watches them edge-triggered, so an event taken and not reported
// never comes again and its owner would go on believing the descriptor quiet.
#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/display/display.h"
#include "platform/win/descriptor_watch.h"

namespace {

constexpr int kCannotFailWaits = 77;

// From now on every epoll wait of this process that would not block (timeout 0) fails with
// EINTR; waits that may block go through. False where the system does not allow a filter.
bool FailWaitsThatDoNotBlock() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
#ifdef SYS_epoll_wait
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_epoll_wait, 1, 0),
#endif
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_epoll_pwait, 0, 3),
        // The timeout, the fourth argument of both (its low half on a little-endian machine).
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[3])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINTR),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Run in a child process, the filter being for good: ten sockets watched and quiet, then input
// on all of them and one wait. Returns the child's exit status: 0 when every owner heard.
int WaitWhileFurtherTakesFail() {
    display::Options o;
    o.kind = display::Kind::Headless;
    std::string err;
    auto disp = display::Open(o, &err);
    if (!disp) {
        std::fprintf(stderr, "no headless display: %s\n", err.c_str());
        return 2;
    }
    constexpr int kSockets = 10;  // more than one batch
    int pairs[kSockets][2];
    win::DescriptorWatch watches[kSockets];
    for (int i = 0; i < kSockets; ++i) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pairs[i]) != 0)
            return 2;
        watches[i].watch(pairs[i][0]);
        watches[i].drained();
    }
    disp->wait_events(0);  // nothing came: every watch is quiet
    for (const auto& w : watches) {
        if (!w.watched() || w.may_be_ready()) {
            std::fprintf(stderr, "watch %d not quiet before the input\n", w.fd());
            return 2;
        }
    }
    if (!FailWaitsThatDoNotBlock())
        return kCannotFailWaits;
    for (const auto& p : pairs) {
        if (write(p[1], "x", 1) != 1)
            return 2;
    }
    disp->wait_events(1000);  // takes eight, then the take of the other two fails
    int unheard = 0;
    for (const auto& w : watches) {
        if (!w.may_be_ready()) {
            std::fprintf(stderr, "input on %d is lost: its watch stays quiet\n", w.fd());
            ++unheard;
        }
    }
    return unheard == 0 ? 0 : 1;
}

TEST(WaitSetFailedTake, InputTakenBeforeAFailedFurtherTakeReachesEveryOwner) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(WaitWhileFurtherTakesFail());
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kCannotFailWaits)
        GTEST_SKIP() << "this system allows no system-call filter";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the child's messages above";
}

}  // namespace
