#pragma once

// The whole window interface.
#include "platform/win/classic_drawing.h"
#include "platform/win/display_driver.h"
#include "platform/win/hook.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/messages.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"
#include "platform/win/subclass.h"
#include "platform/win/test_driver.h"
#include "platform/win/timer.h"
#include "platform/win/types.h"
#include "platform/win/window.h"
