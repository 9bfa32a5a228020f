#include "frmshow.h"

#include "Form1.h"
#include "toolkit/Clock.h"
#include "toolkit/Global.h"
#include "ui_frmshow.h"

namespace qimlar {

namespace {

constexpr double splashSeconds = 1.3;

} // namespace

frmshow::frmshow() : ui(std::make_unique<Ui::frmshow>())
{
    ui->setupUi(this);
    // No title bar, no border and no taskbar button: a splash screen to the window manager.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
}

frmshow::~frmshow() = default;

void frmshow::Form_Load()
{
    toolkit::Global<frmshow>::Show();
    const double start = toolkit::Timer();
    const double deadline = start + splashSeconds;
    // The splash keeps painting while it waits; between events the thread sleeps.
    for (;;) {
        const double now = toolkit::Timer();
        if (deadline <= now)
            break;
        toolkit::DoEvents(deadline - now);
    }
    toolkit::Global<frmshow>::Unload();
    toolkit::Global<Form1>::Show();
}

} // namespace qimlar
