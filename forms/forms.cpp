#include "forms/forms.h"
