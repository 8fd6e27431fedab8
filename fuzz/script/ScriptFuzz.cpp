// Any input must compile or fail with a positioned message, and any compiled program must run to
// its end or stop with a RuntimeError: no crash, no hang, no other exception.

#include "script/Script.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

using script::Variant;

namespace {

class FuzzHost : public script::Host {
public:
    bool HasObject(const std::string& name) const override {
        return script::SameName(name, "meType") || script::SameName(name, "Value");
    }
    bool GetProperty(const std::string& object, const std::vector<std::string>& path, Variant& value,
                     std::string& error) override {
        const auto it = FValues.find(Key(object, path));
        if (it == FValues.end()) {
            error = "Unknown property";
            return false;
        }
        value = it->second;
        return true;
    }
    bool SetProperty(const std::string& object, const std::vector<std::string>& path, const Variant& value,
                     std::string&) override {
        FValues[Key(object, path)] = value;
        return true;
    }
    Variant GetVariable(const std::string& name) override {
        if (script::SameName(name, "Формула"))
            return Variant("Т = ТБ*КТ");
        throw script::RuntimeError("Unknown variable " + name);
    }
    bool HasFunction(const std::string& name) const override {
        return script::SameName(name, "Get") || script::SameName(name, "Set");
    }
    Variant CallFunction(const std::string& name, const std::vector<Variant>& args) override {
        if (args.empty())
            throw script::RuntimeError("Not enough actual parameters for '" + name + "'");
        if (script::SameName(name, "Get"))
            return GetVariable(args[0].AsString());
        return {};
    }

private:
    static std::string Key(const std::string& object, const std::vector<std::string>& path) {
        std::string key = script::NameKey(object);
        for (const std::string& part : path)
            key += "." + script::NameKey(part);
        return key;
    }
    std::map<std::string, Variant> FValues;
};

void Run(const std::string& source, bool callExpression) {
    FuzzHost host;
    script::CompileError error;
    auto program = script::Program::Compile(source, host, error);
    if (!program) {
        if (error.Line < 1 || error.Column < 1 || error.Message.empty())
            std::abort();
        return;
    }
    program->SetStepLimit(20000);
    try {
        if (callExpression)
            program->Call("rpf1", {}, host).AsString();
        else
            program->RunMain(host);
    } catch (const script::RuntimeError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Run(input, false);
    // The same text as a report expression, as the expression cache compiles it.
    if (input.find('\n') == std::string::npos)
        Run("function rpf1: Variant; begin Result := " + input + " end; begin end.", true);
    return 0;
}
