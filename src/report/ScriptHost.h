#pragma once
// What the report script reaches: the template's objects by name, "Report", "Engine" and
// "Outline", report variables through <name>, and the functions Get, Set, IIF and the
// aggregates.

#include "script/Script.h"

namespace report {

class TrpReport;

class TrpScriptHost final : public script::Host {
public:
    explicit TrpScriptHost(TrpReport& report) : FReport(report) {}

    bool HasObject(const std::string& name) const override;
    bool GetProperty(const std::string& object, const std::vector<std::string>& path, script::Variant& value,
                     std::string& error) override;
    bool SetProperty(const std::string& object, const std::vector<std::string>& path,
                     const script::Variant& value, std::string& error) override;
    script::Variant GetVariable(const std::string& name) override;
    bool HasFunction(const std::string& name) const override;
    script::Variant CallFunction(const std::string& name, const std::vector<script::Variant>& args) override;

private:
    TrpReport& FReport;
};

} // namespace report
