#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the object dies. Paths handed out are absolute.
#include <string>

class TempFolder
{
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing "/"; empty when it could not be made.
    const std::string& Path() const { return m_path; }
    // Path() + "/" + relative.
    std::string PathOf(const std::string& relative) const;
    // Writes bytes to relative (its folders must exist); returns the full path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Makes the folder relative (one level); returns the full path.
    std::string MakeFolder(const std::string& relative) const;
    // The whole content of a file; empty when it cannot be read.
    static std::string ReadFile(const std::string& path);

  private:
    std::string m_path;
};
