#pragma once
// GameTexts — the text table of the current language. Filled by the text reader; empty until then.
#include <string>

class GameTexts final {
  public:
    void loadLanguage(int language, const std::string& basePath) {
        language_ = language;
        basePath_ = basePath;
    }
    int language() const { return language_; }

  private:
    int language_ = 0;
    std::string basePath_;
};
