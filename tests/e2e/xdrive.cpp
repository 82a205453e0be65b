// A small X11 driver for the end-to-end tests: lists a process's windows, iconifies a window as a window
// manager would, and double-clicks through the XTEST extension (loaded at run time, so only its library
// is needed). Exit status 77 when something it needs is missing, so the test is skipped.
//   xdrive list PID          one line per window of the process: id, viewable|unmapped|unviewable,
//                            toplevel|embedded, x y w h on the screen, window type, name
//   xdrive iconify ID        sets WM_STATE to IconicState, which is how a window manager minimises
//   xdrive doubleclick X Y   moves the pointer there and double-clicks the left button
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

Display* display = nullptr;

long cardinal(Window window, const char* name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, type, &actualType, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        value = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return value;
}

std::string windowType(Window window)
{
    const long atom = cardinal(window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    if (atom <= 0) return "-";
    char* name = XGetAtomName(display, static_cast<Atom>(atom));
    std::string text = name ? name : "-";
    if (name) XFree(name);
    return text;
}

std::string windowName(Window window)
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) && name) text = name;
    if (name) XFree(name);
    for (char& c : text)
        if (c == ' ') c = '_';
    return text.empty() ? "-" : text;
}

void list(Window window, Window root, long pid)
{
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) {
        const Window child = children[i];
        if (cardinal(child, "_NET_WM_PID", XA_CARDINAL) == pid) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, child, &attributes)) {
                int x = 0, y = 0;
                Window ignored = 0;
                XTranslateCoordinates(display, child, root, 0, 0, &x, &y, &ignored);
                const char* state = attributes.map_state == IsViewable     ? "viewable"
                                    : attributes.map_state == IsUnviewable ? "unviewable"
                                                                           : "unmapped";
                std::printf("0x%lx %s %s %d %d %d %d %s %s\n", child, state, window == root ? "toplevel" : "embedded",
                            x, y, attributes.width, attributes.height, windowType(child).c_str(),
                            windowName(child).c_str());
            }
        }
        list(child, root, pid);
    }
    if (children) XFree(children);
}

int iconify(Window window)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const unsigned long data[2] = {IconicState, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data), 2);
    XSync(display, False);
    return 0;
}

int doubleclick(int x, int y)
{
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!xtst) {
        std::fprintf(stderr, "xdrive: libXtst.so.6 is not installed\n");
        return 77;
    }
    using Motion = int (*)(Display*, int, int, int, unsigned long);
    using Button = int (*)(Display*, unsigned int, Bool, unsigned long);
    auto motion = reinterpret_cast<Motion>(dlsym(xtst, "XTestFakeMotionEvent"));
    auto button = reinterpret_cast<Button>(dlsym(xtst, "XTestFakeButtonEvent"));
    int event = 0, error = 0, major = 0, minor = 0;
    if (!motion || !button || !XQueryExtension(display, "XTEST", &major, &event, &error)) {
        std::fprintf(stderr, "xdrive: the X server has no XTEST\n");
        return 77;
    }
    (void)minor;
    motion(display, DefaultScreen(display), x, y, CurrentTime);
    XSync(display, False);
    usleep(100000);
    for (int click = 0; click < 2; ++click) {
        button(display, 1, True, CurrentTime);
        button(display, 1, False, CurrentTime);
        XSync(display, False);
        usleep(60000);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string command = argc > 1 ? argv[1] : "";
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xdrive: no display\n");
        return 77;
    }
    int status = 2;
    if (command == "list" && argc == 3) {
        const Window root = DefaultRootWindow(display);
        list(root, root, std::strtol(argv[2], nullptr, 10));
        status = 0;
    } else if (command == "iconify" && argc == 3) {
        status = iconify(static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    } else if (command == "doubleclick" && argc == 4) {
        status = doubleclick(std::atoi(argv[2]), std::atoi(argv[3]));
    } else {
        std::fprintf(stderr, "usage: xdrive list PID | iconify ID | doubleclick X Y\n");
    }
    XCloseDisplay(display);
    return status;
}
