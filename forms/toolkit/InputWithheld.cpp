#include "InputWithheld.h"

namespace qimlar::toolkit {

InputWithheld::InputWithheld(QWidget& window, std::initializer_list<QWidget*> controls)
    : focus(window.focusWidget())
{
    for (QWidget* control : controls) {
        wasDisabled.emplace_back(control, control->testAttribute(Qt::WA_Disabled));
        control->setEnabled(false);
    }
}

InputWithheld::~InputWithheld()
{
    for (const auto& [control, disabled] : wasDisabled)
        if (control)
            control->setEnabled(!disabled);
    if (focus)
        focus->setFocus();
}

} // namespace qimlar::toolkit
