#pragma once

// The HTML option controls: radio button, group item button and radio group.
#include "htmlctl/HTMLRadioButton.h"
#include "htmlctl/HTMLRadioGroup.h"
