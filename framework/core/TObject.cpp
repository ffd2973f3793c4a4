#include "framework/core/TObject.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

std::string TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
    // Classes inside a namespace keep only their own name, as the framework reports them.
    auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}
