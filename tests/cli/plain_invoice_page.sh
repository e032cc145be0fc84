#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A job that sets none of the invoice details prints the page it always printed, item by
# item (only the number, proposed where there is none, is new).
#   plain_invoice_page.sh DRIVER
set -euo pipefail
driver=$1
here=$(cd "$(dirname "$0")" && pwd)
page=$("$driver" --now "2026-12-10 09:00:00" "$here/plain_invoice_page.vts" |
  sed -e '1s/^printer.page = //' -e '$d')
diff <(printf '%s\n' "$page") "$here/plain_invoice_page.txt"
