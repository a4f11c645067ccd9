// The operator's pages behind the login and game windows' link buttons.
#pragma once

#include "framework/String.h"

// Opens the page of a link button ("home", "bbs" or "pay", any letter case) in the default browser;
// FALSE for any other button.
BOOL OpenOperatorPage(const CString& buttonName);
