#include "shell/aboutbox.h"
