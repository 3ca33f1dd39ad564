#pragma once
// The command-line host's progress reporter: one line on stderr,
//
//     [##########..........]  50%  Converting rows
//
// redrawn in place while the library reports progress and cleared when the
// work ends. It draws only on a terminal; when stderr is redirected it keeps
// the model silently, so logs and pipes never see control characters.

#include <cstdio>
#include <string>

#include "platform/velsys/StatusReporting.h"

namespace Quillon {

class ProgressBar : public VelSys::StatusReporting {
  public:
    // Draws into `out` when `enabled`; the host passes isatty(stderr).
    ProgressBar(std::FILE* out, bool enabled);
    ~ProgressBar() override;

    // Takes the bar off the screen so that other output starts on a clean
    // line; the next update draws it again.
    void Interrupt() { clear(); }

    // The line for a fraction and text, without the carriage return.
    static std::string Render(double fraction, const std::string& message, int width);

  protected:
    void ShowProgress(double fraction, const ustring& message) override;
    void ShowBusy() override;
    void ShowFinished() override;

  private:
    void draw(const std::string& line);
    void clear();

    std::FILE* mOut;
    bool mEnabled;
    std::string mShown;  // the line on screen, empty when none
    int mSpinner = 0;
};

}  // namespace Quillon
