#pragma once

// The few window-toolkit services every window relies on: one global instance per window,
// loaded on first use; Show, Unload and End; and the input prompt.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace qimlar {

namespace toolkit {
// Book-keeping behind Global: the program ends once no window is loaded any more.
void windowLoaded(QWidget& window);
void unloadWindow(QWidget& window);
void placeOnFirstShow(QWidget& window);
// A small fixed window with a narrow title bar and its close box only, and no taskbar button.
void makeToolWindow(QWidget& window);
} // namespace toolkit

// The one global instance of the window class F. Any use loads the window from its definition
// when it is not loaded; Unload destroys it, and the next use loads it afresh. A window's Load
// handler, `Form_Load()`, runs once per load, after its controls exist and before it is first
// shown; during it the global instance already refers to the window being loaded.
template <class F> class Global
{
public:
    static F& get()
    {
        Load();
        return *window_;
    }

    // Loads the window if needed and shows it, modeless and without an owner. A window that is
    // already shown is brought forward; no second copy ever opens.
    static void Show()
    {
        F& window = get();
        toolkit::placeOnFirstShow(window);
        window.show();
        window.raise();
        window.activateWindow();
    }

    static void Unload()
    {
        if (F* window = window_.data()) {
            window_ = nullptr;
            toolkit::unloadWindow(*window);
        }
    }

    // Loads the window if it is not loaded, without showing it.
    static void Load()
    {
        if (!window_)
            load();
    }

    static bool isLoaded() { return !window_.isNull(); }

private:
    static void load()
    {
        F* window = new F;
        window_ = window;
        toolkit::windowLoaded(*window);
        if constexpr (requires { window->Form_Load(); })
            window->Form_Load();
    }

    static inline QPointer<F> window_;
};

// The program's start: loads the start-up window F, whose Load handler may do the whole start
// itself, and shows it if it is still loaded after that. The caller then runs the event loop.
template <class F> void runStartUpWindow()
{
    Global<F>::Load();
    if (Global<F>::isLoaded())
        Global<F>::Show();
}

// Window definitions measure in twips, 15 to the pixel.
constexpr int twipsPerPixel = 15;
constexpr int pixels(int twips)
{
    return twips / twipsPerPixel;
}
inline void setLeft(QWidget& control, int twips)
{
    control.move(pixels(twips), control.y());
}
inline void setTop(QWidget& control, int twips)
{
    control.move(control.x(), pixels(twips));
}

// A window's outer top-left corner on the screen, in twips.
inline float windowLeft(const QWidget& window)
{
    return static_cast<float>(window.x() * twipsPerPixel);
}
inline float windowTop(const QWidget& window)
{
    return static_cast<float>(window.y() * twipsPerPixel);
}
// Puts a window's outer top-left corner at `left`, `top` (twips); its size stays.
void Move(QWidget& window, float left, float top);

// Seconds on a clock that only runs forward: unlike the time of day it never starts again at
// midnight, so a wait measured on it always ends.
double Timer();

// Dispatches every pending event, painting included. When none is pending it sleeps until one
// comes, but no longer than `maxWaitSeconds` (0: it does not sleep).
void DoEvents(double maxWaitSeconds = 0);

namespace toolkit {
// Replaces the clock `Timer` reads, for tests; an empty function restores the real one.
void setClock(std::function<double()> clock);
} // namespace toolkit

// Closes every window and ends the program with status 0; no further handler runs.
void End();

// A modal prompt with `title`, `prompt` and an edit field holding `defaultAnswer`, with OK and
// Cancel. Returns the edited text on OK, and the empty text on Cancel or when closed.
QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer = {});

// A modal message with `title`, a warning sign, `text` and an OK button, read right to left.
void MsgBox(const QString& text, const QString& title, QWidget* parent = nullptr);

} // namespace qimlar
