// Reads a script or include file into memory: at most kMaxScriptFileSize bytes, never empty.
#pragma once
#include <string>

// 0 and the text (cut at the first NUL byte), or kErrLoad / kErrTooBig.
int LoadScriptFile(const std::string& path, std::string& text);
