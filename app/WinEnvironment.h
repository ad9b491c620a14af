#pragma once
#include <random>

#include "mainwindow/Form1View.h"

namespace ambervale::win {

class WinEnvironment : public Form1Environment {
public:
    std::string ProgramFolder() override;
    std::optional<std::string> TempFolder() override;
    bool FileListed(const std::string& path) override;
};

// The full path of the running executable, in UTF-8 as the program keeps paths.
std::string ExecutablePath();

class WinRandom : public RandomSource {
public:
    void SeedFromTimeOfDay() override;
    double NextFraction() override;

private:
    std::minstd_rand engine_;
};

} // namespace ambervale::win
