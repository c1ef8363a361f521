// The component layer: everything the windows use.
#pragma once

#include "form_resource.h"
#include "modal.h"
#include "vcl_classes.h"
#include "vcl_controls.h"
#include "vcl_forms.h"
