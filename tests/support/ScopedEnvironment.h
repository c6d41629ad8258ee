#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wh::test {

// Sets (or, for nullopt, removes) environment variables for the life of the
// object and puts the old values back afterwards.
class TScopedEnvironment {
public:
    using TSetting = std::pair<std::string, std::optional<std::string>>;

    explicit TScopedEnvironment(const std::vector<TSetting>& settings) {
        for (const auto& [name, value] : settings) {
            const char* old = std::getenv(name.c_str());
            FOld.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            Apply(name, value);
        }
    }
    ~TScopedEnvironment() {
        for (auto it = FOld.rbegin(); it != FOld.rend(); ++it)
            Apply(it->first, it->second);
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    static void Apply(const std::string& name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    std::vector<TSetting> FOld;
};

} // namespace wh::test
