// The tips of the Tip of the Day dialog, indexed from 0 (the welcome tip).
#pragma once

inline constexpr int kTipCount = 149;
extern const char* const kTips[kTipCount];
