// A scratch folder for chooser tests: files a and b, subfolder s, removed afterwards.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

class chooser_folder {
public:
    chooser_folder() {
        char pattern[] = "/tmp/zvchooser-XXXXXX";
        if (!mkdtemp(pattern)) abort();
        path_ = pattern;
        std::ofstream(path_ + "/a") << "a";
        std::ofstream(path_ + "/b") << "b";
        mkdir((path_ + "/s").c_str(), 0755);
    }
    ~chooser_folder() { (void)std::system(("rm -rf '" + path_ + "'").c_str()); }
    chooser_folder(const chooser_folder&) = delete;
    chooser_folder& operator=(const chooser_folder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
