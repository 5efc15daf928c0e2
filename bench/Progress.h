#pragma once
// Where the benchmark says what it is doing while it runs.

#include <functional>
#include <string>

using TProgress = std::function<void(const std::string&)>;
