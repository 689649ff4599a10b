// The Internet built-ins still to come answer as unavailable until they land.
#include "builtin_api.h"

int Builtin_IsConnectedToInternet(BuiltinCall& call) { return BuiltinUnavailable(call); }
int Builtin_BrowseURL(BuiltinCall& call) { return BuiltinUnavailable(call); }
int Builtin_GetIPAddress(BuiltinCall& call) { return BuiltinUnavailable(call); }
int Builtin_FtpGetFolderListing(BuiltinCall& call) { return BuiltinUnavailable(call); }
int Builtin_FtpGetOpenFileName(BuiltinCall& call) { return BuiltinUnavailable(call); }
