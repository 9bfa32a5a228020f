#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmshow;
}

namespace qimlar {

// The splash window the program starts with. Its Load handler is the whole start: the splash
// shows for 1.3 seconds, then gives way to the main window.
class frmshow : public QWidget
{
    Q_OBJECT

public:
    frmshow();
    ~frmshow() override;

    void Form_Load();

private:
    std::unique_ptr<Ui::frmshow> ui;
};

} // namespace qimlar
