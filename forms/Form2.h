#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Form2;
}

namespace qimlar {

// The About window: what the program is, who wrote it, and how to reach the author.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    Form2();
    ~Form2() override;

private:
    void Command1_Click();

    std::unique_ptr<Ui::Form2> ui;
};

} // namespace qimlar
