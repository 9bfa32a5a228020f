#include "Form3.h"

#include "toolkit/Global.h"
#include "toolkit/SpokenNames.h"
#include "toolkit/WindowSystem.h"
#include "ui_Form3.h"

namespace qimlar {

Form3::Form3() : ui(std::make_unique<Ui::Form3>())
{
    ui->setupUi(this);
    toolkit::makeToolWindow(*this);
    toolkit::nameControlsForScreenReaders(*this);
    connect(ui->Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
}

Form3::~Form3() = default;

void Form3::Command1_Click()
{
    toolkit::Global<Form3>::Unload();
}

} // namespace qimlar
