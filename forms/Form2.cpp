#include "Form2.h"

#include "toolkit/Global.h"
#include "toolkit/SpokenNames.h"
#include "toolkit/WindowSystem.h"
#include "ui_Form2.h"

namespace qimlar {

Form2::Form2() : ui(std::make_unique<Ui::Form2>())
{
    ui->setupUi(this);
    toolkit::makeToolWindow(*this);
    toolkit::nameControlsForScreenReaders(*this);
    ui->Image1->setAccessibleName(QStringLiteral("أيقونة البرنامج"));

    connect(ui->Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
}

Form2::~Form2() = default;

void Form2::Command1_Click()
{
    toolkit::Global<Form2>::Unload();
}

} // namespace qimlar
