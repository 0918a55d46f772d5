// karvo-e2e-report-probe NODE: asks the virtual amplifier's hidraw node for reports through
// the kernel's GET_REPORT and SET_REPORT requests, which the kernel hands to the uhid
// device and waits for (seconds, when the device does not answer). Checks:
//   - GET_REPORT of input report 1 gives the 65-byte report the device sent last;
//   - SET_REPORT of output report 1 carrying command 0 is taken and answered by an
//     identification reply on the input stream;
//   - GET_REPORT of a feature report the device does not have is refused at once (EIO).
// Prints one line per check and each request's time; exit status 0 when all passed.
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

long Ms(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: karvo-e2e-report-probe /dev/hidrawN\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        std::fprintf(stderr, "probe: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    int failed = 0;
    unsigned char buf[65];

    // GET_REPORT, input report 1.
    std::memset(buf, 0, sizeof buf);
    buf[0] = 1;
    auto t = Clock::now();
    int n = ioctl(fd, HIDIOCGINPUT(sizeof buf), buf);
    if (n == 65 && buf[0] == 1) {
        std::printf("probe: PASS get-report input 1: %d bytes, reply code %u, %ld ms\n", n, buf[1],
                    Ms(t));
    } else {
        std::printf("probe: FAIL get-report input 1: %d (%s), %ld ms\n", n,
                    n < 0 ? std::strerror(errno) : "wrong report", Ms(t));
        failed = 1;
    }

    // Drain what is queued, then SET_REPORT output report 1 with command 0 (identify).
    while (read(fd, buf, sizeof buf) > 0) {
    }
    std::memset(buf, 0, sizeof buf);
    buf[0] = 1;
    buf[1] = 0;
    t = Clock::now();
    n = ioctl(fd, HIDIOCSOUTPUT(sizeof buf), buf);
    if (n < 0) {
        std::printf("probe: FAIL set-report output 1: %s, %ld ms\n", std::strerror(errno), Ms(t));
        failed = 1;
    } else {
        bool identified = false;
        const auto until = Clock::now() + std::chrono::seconds(3);
        while (!identified && Clock::now() < until) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            const int r = static_cast<int>(read(fd, buf, sizeof buf));
            if (r >= 2 && buf[0] == 1 && buf[1] == 0) identified = true;
        }
        std::printf("probe: %s set-report output 1 (command 0): %s, %ld ms\n",
                    identified ? "PASS" : "FAIL",
                    identified ? "answered with the identification" : "no identification",
                    Ms(t));
        if (!identified) failed = 1;
    }

    // GET_REPORT of a feature report that does not exist: refused, not stalled.
    std::memset(buf, 0, sizeof buf);
    buf[0] = 1;
    t = Clock::now();
    n = ioctl(fd, HIDIOCGFEATURE(sizeof buf), buf);
    const long ms = Ms(t);
    const int error = errno;
    // The kernel gives up on an unanswered request after 5 s.
    if (n < 0 && ms < 4000) {
        std::printf("probe: PASS get-report feature 1 refused (%s), %ld ms\n",
                    std::strerror(error), ms);
    } else {
        std::printf("probe: FAIL get-report feature 1: %d (%s), %ld ms\n", n,
                    n < 0 ? std::strerror(error) : "answered", ms);
        failed = 1;
    }
    close(fd);
    return failed;
}
