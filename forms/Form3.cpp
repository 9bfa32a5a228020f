#include "Form3.h"

#include "SpokenNames.h"
#include "Toolkit.h"
#include "ui_Form3.h"

namespace qimlar {

Form3::Form3() : ui(std::make_unique<Ui::Form3>())
{
    ui->setupUi(this);
    toolkit::makeToolWindow(*this);
    nameControlsForScreenReaders(*this);
    connect(ui->Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
}

Form3::~Form3() = default;

void Form3::Command1_Click()
{
    Global<Form3>::Unload();
}

} // namespace qimlar
