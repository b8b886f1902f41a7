#pragma once
// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes out of scope.

#include <string>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path() joined with a name (which may contain further separators).
    std::string File(const std::string& name) const;

  private:
    std::string path_;
};
