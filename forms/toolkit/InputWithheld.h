#pragma once

#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <utility>
#include <vector>

namespace qimlar::toolkit {

// While it lives, `controls` take no input: they are disabled, so that nothing typed or clicked
// at them meanwhile waits to be handled later. Afterwards each is as enabled as it was, and the
// window's focus is back where it was.
class InputWithheld
{
public:
    InputWithheld(QWidget& window, std::initializer_list<QWidget*> controls);
    ~InputWithheld();
    InputWithheld(const InputWithheld&) = delete;
    InputWithheld& operator=(const InputWithheld&) = delete;

private:
    QPointer<QWidget> focus;
    std::vector<std::pair<QPointer<QWidget>, bool>> wasDisabled;
};

} // namespace qimlar::toolkit
