// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <string_view>

#include "platform/translation.h"
#include "vantrel_version.h"

namespace vantrel {

std::optional<std::string> commandLineReply(int argc, const char* const* argv) {
  if (argc != 2) return std::nullopt;
  const std::string_view word = argv[1];
  if (word == "--help") {
    // The environment is what the program itself reads (VANTREL_HOME, XDG_DATA_HOME,
    // XDG_RUNTIME_DIR, VANTREL_STARTUP_MARKS, TZ) and where Qt keeps the settings store and
    // the cache (XDG_CONFIG_HOME, XDG_CACHE_HOME).
    return tr(
        // TRANSLATORS: keep the option names (--help, --version), the variables' names and
        // the paths as they are.
        "Usage: vantrel [PROJECT-FILE]\n"
        "       vantrel --help | --version\n"
        "\n"
        "Vantrel times work on a job and prices it by the hour. A PROJECT-FILE (.pcl) named on\n"
        "the command line opens at start; when a copy of Vantrel already runs on the same\n"
        "application folder, that copy opens it instead.\n"
        "\n"
        "  --help     print this text and exit\n"
        "  --version  print the version and exit\n"
        "\n"
        "Either is an option only on its own. Any other words, joined by spaces and with their\n"
        "double quotes removed, name the file to open, so a file named --help opens with\n"
        "  vantrel ./--help\n"
        "\n"
        "Environment:\n"
        "  VANTREL_HOME     the application folder, with the price list and the autosaved\n"
        "                   job (default $XDG_DATA_HOME/vantrel, ~/.local/share/vantrel)\n"
        "  XDG_CONFIG_HOME  holds the settings store, Ploven/Ploven.conf (default ~/.config)\n"
        "  XDG_RUNTIME_DIR  where a later start finds the running copy (default /tmp)\n"
        "  XDG_CACHE_HOME   holds a picture of the splash, shown while the fonts are read\n"
        "                   (default ~/.cache)\n"
        "  VANTREL_STARTUP_MARKS  a file to which the start appends when each of its\n"
        "                   phases ended, for measuring it\n"
        "  TZ               the time zone the work log shows its times in (default the\n"
        "                   system's)\n"
        "\n"
        "More in the manual page, vantrel(1).\n");
  }
  if (word == "--version") return std::string("Vantrel " VANTREL_VERSION "\n");
  return std::nullopt;
}

}  // namespace vantrel
