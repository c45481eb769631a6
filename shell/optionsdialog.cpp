#include "shell/optionsdialog.h"
