// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

namespace vantrel {

// Settings, the cache and the application folder stay inside the test's own folder, never the user's.
inline void keepHomeIn(const QTemporaryDir& home) {
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
  qputenv("VANTREL_HOME", (home.path() + QStringLiteral("/app")).toUtf8());
  qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toUtf8());
}

}  // namespace vantrel
