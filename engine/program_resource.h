// A run-owned object behind an HFILE or HBROWSER handle; the Windows families derive from it.
#pragma once

class ProgramResource {
public:
    virtual ~ProgramResource() = default;
    virtual bool IsOpen() const = 0;
};
