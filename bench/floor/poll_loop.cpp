// The floor of an idle program: a loop that does nothing but sleep in poll for 10 ms, as the
// console's idle loop does for its 10 ms timer. scripts/idle_share.sh runs it beside the console.
#include <poll.h>

int main() {
    for (;;)
        poll(nullptr, 0, 10);
}
