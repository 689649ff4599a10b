// The built-in calling convention: parameters converted under the run's strict flag, result
// setters, and the run's handle tables.
#include "builtin_api.h"

#include "program.h"

namespace {

int ParameterError(ScriptResult& record, std::size_t position, int code) {
    record.param = static_cast<int32_t>(position + 1);
    return code;
}

// The argument at `position` converted to `type` under `strict`; -38 when the call passed
// fewer arguments, -28 when the argument's type does not convert.
int FetchArgument(BuiltinCall& call, int position, uint32_t type, bool strict, ScriptValue& value) {
    if (position < 0 || static_cast<std::size_t>(position) >= call.args.size())
        return ParameterError(call.record, static_cast<std::size_t>(position),
                              kErrMissingParameter);
    CopyValue(value, call.args[static_cast<std::size_t>(position)]);
    if (value.type != type && !ConvertValue(value, type, strict))
        return ParameterError(call.record, static_cast<std::size_t>(position),
                              kErrBadParameterType);
    return kOk;
}

// An argument that already has the wanted type is read in place; only a conversion needs a copy.
const ScriptValue* ArgumentOfType(const BuiltinCall& call, int position, uint32_t type) {
    if (position < 0 || static_cast<std::size_t>(position) >= call.args.size()) return nullptr;
    const ScriptValue& argument = call.args[static_cast<std::size_t>(position)];
    return argument.type == type ? &argument : nullptr;
}

std::vector<std::unique_ptr<ProgramResource>>& Table(BuiltinCall& call, ResourceTable table) {
    return table == ResourceTable::kFiles ? call.program.files : call.program.browsers;
}

}  // namespace

int GetIntParam(BuiltinCall& call, int position, int32_t& value) {
    if (const ScriptValue* argument = ArgumentOfType(call, position, kTypeInt)) {
        value = argument->integer;
        return kOk;
    }
    ScriptValue argument;
    if (int error = FetchArgument(call, position, kTypeInt, call.program.strict, argument))
        return error;
    value = argument.integer;
    return kOk;
}

int GetStringParam(BuiltinCall& call, int position, std::string& value) {
    SharedText text;
    if (int error = GetSharedStringParam(call, position, text)) return error;
    value = std::move(text).Take();
    return kOk;
}

int GetSharedStringParam(BuiltinCall& call, int position, SharedText& value) {
    if (const ScriptValue* argument = ArgumentOfType(call, position, kTypeString)) {
        value = argument->text;
        return kOk;
    }
    ScriptValue argument;
    if (int error = FetchArgument(call, position, kTypeString, call.program.strict, argument))
        return error;
    value = std::move(argument.text);
    return kOk;
}

int GetOptionalIntParam(BuiltinCall& call, int position, int32_t& value) {
    if (call.args.size() <= static_cast<std::size_t>(position)) return kOk;
    return GetIntParam(call, position, value);
}

int GetOptionalStringParam(BuiltinCall& call, int position, std::string& value) {
    if (call.args.size() <= static_cast<std::size_t>(position)) return kOk;
    return GetStringParam(call, position, value);
}

int GetFileParam(BuiltinCall& call, int position, int32_t& slot) {
    ScriptValue argument;
    if (int error = FetchArgument(call, position, kTypeHfile, true, argument)) return error;
    slot = argument.integer;
    return kOk;
}

int GetBrowserParam(BuiltinCall& call, int position, int32_t& slot) {
    ScriptValue argument;
    if (int error = FetchArgument(call, position, kTypeHbrowser, true, argument)) return error;
    slot = argument.integer;
    return kOk;
}

int GetHandleParam(BuiltinCall& call, int position, uint32_t type, uint32_t& handle) {
    ScriptValue argument;
    if (int error = FetchArgument(call, position, type, true, argument)) return error;
    handle = type == kTypeHkey ? argument.handle : static_cast<uint32_t>(argument.integer);
    return kOk;
}

int GetIntOrStringParam(BuiltinCall& call, int position, bool& isInt, int32_t& value,
                        std::string& text) {
    if (position >= 0 && static_cast<std::size_t>(position) < call.args.size() &&
        call.args[static_cast<std::size_t>(position)].type == kTypeInt) {
        isInt = true;
        value = call.args[static_cast<std::size_t>(position)].integer;
        return kOk;
    }
    // Anything but an int must be a string (or NULL) even with strict off.
    ScriptValue argument;
    if (int error = FetchArgument(call, position, kTypeString, true, argument)) return error;
    isInt = false;
    text = std::move(argument.text);
    return kOk;
}

// Results are set field by field: a whole temporary value would cost more than the call.
void SetIntResult(BuiltinCall& call, int32_t value) {
    ScriptValue& result = call.result;
    result.type = kTypeInt;
    result.integer = value;
    result.text.clear();
    result.handle = 0;
}

void SetStringResult(BuiltinCall& call, std::string text) {
    ScriptValue& result = call.result;
    result.type = kTypeString;
    result.integer = 0;
    result.text = std::move(text);
    result.handle = 0;
}

void SetVoidResult(BuiltinCall& call) { CopyValue(call.result, MakeVoid()); }

void SetHandleResult(BuiltinCall& call, uint32_t type, uint32_t value) {
    CopyValue(call.result, MakeHandle(type, value));
}

bool IsSystemText(std::string_view text) { return text.find('\0') == std::string_view::npos; }

bool IsStrict(const BuiltinCall& call) { return call.program.strict; }

int32_t NextScriptRandom(BuiltinCall& call) { return NextRandom(call.program.random); }

int32_t AddProgramResource(BuiltinCall& call, ResourceTable table,
                           std::unique_ptr<ProgramResource> resource) {
    auto& slots = Table(call, table);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i] || !slots[i]->IsOpen()) {
            slots[i] = std::move(resource);
            return static_cast<int32_t>(i + 1);
        }
    }
    slots.push_back(std::move(resource));
    return static_cast<int32_t>(slots.size());
}

ProgramResource* FindProgramResource(BuiltinCall& call, ResourceTable table, int32_t handle) {
    auto& slots = Table(call, table);
    if (handle < 1 || static_cast<std::size_t>(handle) > slots.size()) return nullptr;
    ProgramResource* resource = slots[static_cast<std::size_t>(handle - 1)].get();
    return resource && resource->IsOpen() ? resource : nullptr;
}

int BuiltinUnavailable(BuiltinCall& call) {
    SetResultCall(call.record, call.name);
    return kErrFunctionNotFound;
}
