#pragma once
// A report stand-in: objects with properties, report variables and the functions Get, Set and Log.

#include "script/Script.h"

#include <map>
#include <string>
#include <vector>

namespace script::testing {

class FakeHost : public Host {
public:
    // Property keys are upper-case paths such as "MEMO.TEXT"; "" is the object's own value.
    std::map<std::string, std::map<std::string, Variant>> Objects;
    std::map<std::string, Variant> Variables;
    std::vector<std::string> Log;
    bool ProvidesIif = false;

    void AddObject(const std::string& name, const std::string& path, const Variant& value) {
        Objects[NameKey(name)][NameKey(path)] = value;
    }
    Variant Property(const std::string& name, const std::string& path) const {
        return Objects.at(NameKey(name)).at(NameKey(path));
    }
    void SetVariable(const std::string& name, const Variant& value) { Variables[NameKey(name)] = value; }

    bool HasObject(const std::string& name) const override { return Objects.count(NameKey(name)) != 0; }

    bool GetProperty(const std::string& object, const std::vector<std::string>& path, Variant& value,
                     std::string& error) override {
        auto& properties = Objects.at(NameKey(object));
        const auto it = properties.find(Key(path));
        if (it == properties.end()) {
            error = "Unknown property '" + Key(path) + "' of " + object;
            return false;
        }
        value = it->second;
        return true;
    }

    bool SetProperty(const std::string& object, const std::vector<std::string>& path, const Variant& value,
                     std::string& error) override {
        auto& properties = Objects.at(NameKey(object));
        const auto it = properties.find(Key(path));
        if (it == properties.end()) {
            error = "Unknown property '" + Key(path) + "' of " + object;
            return false;
        }
        it->second = value;
        Log.push_back("set " + object + "." + Key(path));
        return true;
    }

    Variant GetVariable(const std::string& name) override {
        const auto it = Variables.find(NameKey(name));
        if (it == Variables.end())
            throw RuntimeError("Unknown variable " + name);
        return it->second;
    }

    bool HasFunction(const std::string& name) const override {
        const std::string key = NameKey(name);
        return key == "GET" || key == "SET" || key == "LOG" || (ProvidesIif && key == "IIF");
    }

    Variant CallFunction(const std::string& name, const std::vector<Variant>& args) override {
        const std::string key = NameKey(name);
        if (key == "GET")
            return GetVariable(args.at(0).AsString());
        if (key == "SET") {
            SetVariable(args.at(0).AsString(), args.at(1));
            return {};
        }
        if (key == "IIF")
            return Variant("host IIF");
        std::string line;
        for (const Variant& arg : args)
            line += (line.empty() ? "" : " ") + arg.AsString();
        Log.push_back(line);
        return {};
    }

private:
    static std::string Key(const std::vector<std::string>& path) {
        std::string key;
        for (const std::string& part : path)
            key += (key.empty() ? "" : ".") + NameKey(part);
        return key;
    }
};

// Compiles or fails the test with the compiler's message.
inline std::unique_ptr<Program> MustCompile(const std::string& source, const Host& host) {
    CompileError error;
    auto program = Program::Compile(source, host, error);
    if (!program)
        throw std::runtime_error("does not compile: " + std::to_string(error.Line) + ":" +
                                 std::to_string(error.Column) + " " + error.Message + "\n" + source);
    return program;
}

// The report's way of evaluating an expression.
inline Variant Evaluate(const std::string& expression, Host& host) {
    auto program =
        MustCompile("function rpf1: Variant; begin Result := " + expression + " end; begin end.", host);
    return program->Call("rpf1", {}, host);
}

} // namespace script::testing
