#pragma once

// Whether Chinese texts can be shown at all: without a font that covers Simplified Chinese
// every Chinese text is a row of empty boxes.

#include <functional>

class QString;

bool ChineseFontInstalled();
// Tests stand in for the font database.
void SetChineseFontCheck(std::function<bool()> check);
// The warning, always in English: without the font its Chinese text could not be read.
QString MissingChineseFontText();
