/* Watches Qimlar start on an X server from outside: starts the program, then reads the pixel at
 * the screen's centre until the splash covers it and again until the main window does. Prints,
 * tab-separated: milliseconds from the start to the splash on the screen, from the splash to the
 * main window, the CPU seconds the program spent in between, and its peak resident memory in
 * kB a moment after the main window appeared.
 *
 * Usage: window-start PROGRAM [ARGUMENT...] (on a server whose root is black, such as Xvfb -br) */

#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static unsigned long centrePixel(Display* display)
{
    Window root = DefaultRootWindow(display);
    int screen = DefaultScreen(display);
    XImage* image = XGetImage(display, root, DisplayWidth(display, screen) / 2,
                              DisplayHeight(display, screen) / 2, 1, 1, AllPlanes, ZPixmap);
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

/* Waits until the centre pixel differs from `from`; returns the time, or 0 after 20 s. */
static double waitForChange(Display* display, unsigned long from, unsigned long* to)
{
    const double giveUp = now() + 20;
    while (now() < giveUp) {
        *to = centrePixel(display);
        if (*to != from)
            return now();
        usleep(500);
    }
    return 0;
}

/* CPU seconds that all threads of process `pid` have run so far, to the nanosecond. */
static double cpuSeconds(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* tasks = opendir(path);
    if (!tasks)
        return -1;
    unsigned long long total = 0;
    for (struct dirent* task; (task = readdir(tasks));) {
        char stat[400];
        unsigned long long ns = 0;
        snprintf(stat, sizeof stat, "%s/%s/schedstat", path, task->d_name);
        FILE* file = task->d_name[0] != '.' ? fopen(stat, "r") : NULL;
        if (file && fscanf(file, "%llu", &ns) == 1)
            total += ns;
        if (file)
            fclose(file);
    }
    closedir(tasks);
    return total / 1e9;
}

static long peakKilobytes(pid_t pid)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* file = fopen(path, "r");
    long peak = -1;
    while (file && fgets(line, sizeof line, file))
        if (sscanf(line, "VmHWM: %ld kB", &peak) == 1)
            break;
    if (file)
        fclose(file);
    return peak;
}

int main(int argc, char* argv[])
{
    if (argc < 2) {
        fputs("usage: window-start PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fputs("window-start: no X server\n", stderr);
        return 2;
    }
    const unsigned long background = centrePixel(display);

    const double started = now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    unsigned long splashPixel = 0, mainPixel = 0;
    const double splash = waitForChange(display, background, &splashPixel);
    const double cpuAtSplash = cpuSeconds(pid);
    const double main = splash ? waitForChange(display, splashPixel, &mainPixel) : 0;
    const double cpuAtMain = cpuSeconds(pid);
    usleep(300000);
    const long peak = peakKilobytes(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    XCloseDisplay(display);
    if (!splash || !main) {
        fputs("window-start: the windows did not appear\n", stderr);
        return 1;
    }
    printf("%.1f\t%.1f\t%.4f\t%ld\n", (splash - started) * 1e3, (main - splash) * 1e3,
           cpuAtMain - cpuAtSplash, peak);
    return 0;
}
