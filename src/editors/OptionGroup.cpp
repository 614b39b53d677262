#include "OptionGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

void selectOption(QButtonGroup *group, int id)
{
    if (QAbstractButton *option = group->button(id)) {
        option->setChecked(true);
        return;
    }
    // An exclusive group keeps one option checked; let go of that for the clearing.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton *option : group->buttons())
        option->setChecked(false);
    group->setExclusive(exclusive);
}
