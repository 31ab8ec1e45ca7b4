// An environment variable set (or removed) for the length of a test, then put back as
// it was: the environment is shared by every test of a binary.
#pragma once
#include <stdlib.h>

#include <optional>
#include <string>

class scoped_env {
public:
    // value nullptr removes the variable.
    scoped_env(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~scoped_env() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    scoped_env(const scoped_env&) = delete;
    scoped_env& operator=(const scoped_env&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};
