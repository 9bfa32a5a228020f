#pragma once

// One global instance per window, loaded on first use; Show, Unload, the program's start and
// End.

#include <QPointer>
#include <QWidget>

namespace qimlar::toolkit {

// Book-keeping behind Global: the program ends once no window is loaded any more.
class WindowRegistry
{
public:
    static void loaded(QWidget& window);
    static void unload(QWidget& window);
    // Every window starts centred on the screen, as it is shown without an owner.
    static void placeOnFirstShow(QWidget& window);
};

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
        WindowRegistry::placeOnFirstShow(window);
        window.show();
        window.raise();
        window.activateWindow();
    }

    static void Unload()
    {
        if (F* window = window_.data()) {
            window_ = nullptr;
            WindowRegistry::unload(*window);
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
        WindowRegistry::loaded(*window);
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

// Closes every window and ends the program with status 0; no further handler runs.
void End();

} // namespace qimlar::toolkit
