// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and reports how long it took until one of its windows was
// mapped and viewable on the X display, from just before the program was
// executed. Event-driven: it listens to the X server rather than polling.
//
//   quandrel_bench_mapwait [--timeout MS] [--keep] -- program [arguments...]
//
// Prints "mapped_ms <milliseconds>", "cpu_ms <milliseconds>" (CPU time the
// program had used by then, all threads) and "pid <pid>". The program is then
// ended with SIGTERM unless --keep is given, in which case it keeps running.
// The program's standard output goes to /dev/null; its errors go where ours do.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0; // windows come and go while we look at them
}

long windowPid(Display* display, Window window, Atom pidAtom)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data) ==
            Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && items == 1)
            pid = long(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

bool isViewableWindowOf(Display* display, Window window, long pid, Atom pidAtom)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    if (attributes.map_state != IsViewable || attributes.c_class != InputOutput || attributes.override_redirect)
        return false;
    return windowPid(display, window, pidAtom) == pid;
}

// CPU time that all threads of a process used so far, in milliseconds.
double cpuMs(pid_t pid)
{
    double total = 0;
    const std::string base = "/proc/" + std::to_string(pid) + "/task";
    DIR* tasks = opendir(base.c_str());
    if (!tasks)
        return -1;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(base + "/" + entry->d_name + "/schedstat");
        unsigned long long ns = 0;
        if (stat >> ns)
            total += double(ns) / 1e6;
    }
    closedir(tasks);
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    int timeoutMs = 10000;
    bool keep = false;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--timeout") == 0 && first + 1 < argc) {
            timeoutMs = std::atoi(argv[++first]);
        } else if (std::strcmp(argv[first], "--keep") == 0) {
            keep = true;
        } else if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        } else {
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--timeout MS] [--keep] -- program [arguments...]\n", argv[0]);
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = monotonicMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        // The program must not hold our output open once we are gone.
        close(ConnectionNumber(display));
        if (const int null = open("/dev/null", O_WRONLY); null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        std::perror("execvp");
        _exit(127);
    }

    // Top-level windows created since the start; each is watched for its own
    // map, and all are looked at again whenever a window is mapped anywhere
    // (or, in case an event was missed, when nothing was heard for 50 ms).
    std::set<Window> candidates;
    double mapped = -1;
    double cpu = -1;
    const auto lookForMapped = [&] {
        for (Window w : candidates) {
            if (isViewableWindowOf(display, w, child, pidAtom)) {
                mapped = monotonicMs() - start;
                cpu = cpuMs(child);
                return;
            }
        }
    };
    const int fd = ConnectionNumber(display);
    while (mapped < 0 && monotonicMs() - start < timeoutMs) {
        bool look = false;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                candidates.insert(event.xcreatewindow.window);
                XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
                look = true; // it may have been mapped before we listened
            } else if (event.type == MapNotify || event.type == ReparentNotify) {
                look = true;
            }
        }
        if (!look) {
            if (waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "the program ended before mapping a window\n");
                return 1;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval wait{0, 50000};
            look = select(fd + 1, &readable, nullptr, nullptr, &wait) == 0;
        }
        if (look)
            lookForMapped();
    }
    XCloseDisplay(display);

    std::printf("pid %d\n", int(child));
    if (mapped < 0) {
        std::printf("mapped_ms timeout\n");
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        return 1;
    }
    std::printf("mapped_ms %.2f\n", mapped);
    std::printf("cpu_ms %.2f\n", cpu);
    std::fflush(stdout);
    if (!keep) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    return 0;
}
