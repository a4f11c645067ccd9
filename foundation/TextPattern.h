// Filling configured patterns. Addresses and signing texts come from the operator's configuration
// file, so they are never handed to printf: only "%s" markers are replaced, in order, and "%%"
// becomes "%". Everything else, percent-escapes such as %2F included, is copied as written.
#pragma once

#include "framework/String.h"

#include <initializer_list>

CString FillPattern(const CString& pattern, std::initializer_list<const wchar_t*> args);
