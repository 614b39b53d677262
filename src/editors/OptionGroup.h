#pragma once

class QButtonGroup;

// Selects the option of an exclusive group whose id is id; an id that no option has
// (-1) clears every option of the group. Raises no click.
void selectOption(QButtonGroup *group, int id);
