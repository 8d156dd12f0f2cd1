#!/usr/bin/env bash
# The genome side's libraries call none of the C library's inexact maths (sin, exp, pow…): each
# such call is one the program's own maths should make. The exact ones (sqrt, floor, fma…) may
# stay. Usage: maths_own_symbols.sh LIBRARY.a...
set -euo pipefail
inexact='sin|cos|tan|sincos|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|exp|exp2|expm1'
inexact+='|log|log2|log10|log1p|pow|hypot|cbrt|erf|erfc|tgamma|lgamma'
found=0
for library in "$@"; do
  calls=$(nm -u "$library" | awk '{ print $2 }' | grep -Ex "($inexact)[fl]?(@.*)?" | sort -u) ||
    true
  if [[ -n "$calls" ]]; then
    echo "$(basename "$library") calls the C library's $(echo $calls)"
    found=1
  fi
done
exit "$found"
