// The Internet built-ins still to come answer as unavailable until they land.
#include "builtin_api.h"

int Builtin_FtpGetOpenFileName(BuiltinCall& call) { return BuiltinUnavailable(call); }
