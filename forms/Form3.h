#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Form3;
}

namespace qimlar {

// The usefulness window: what the program is for, with the mp3 example, step by step.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    Form3();
    ~Form3() override;

private:
    void Command1_Click();

    std::unique_ptr<Ui::Form3> ui;
};

} // namespace qimlar
