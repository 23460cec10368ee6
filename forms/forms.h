#pragma once

// Everything of the component framework and its standard controls.
#include "forms/application.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/component.h"
#include "forms/control.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/message_box.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
