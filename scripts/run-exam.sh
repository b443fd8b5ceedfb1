#!/usr/bin/env bash
# The main job: installs what the build needs, builds the exam screen in build-plain
# and starts it. Arguments go to talvik-exam.
#
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) the exam screen cannot be
# shown, so it is rendered off-screen to exam.png instead (or to the FILE given with
# --screenshot FILE), and the script says where the picture is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

dir=build-plain
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVIK_SANITIZE=OFF > "$dir.configure.log" 2>&1 \
  || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" --target talvik-exam -j "$(nproc)"
exam="$dir/apps/talvik-exam/talvik-exam"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$exam" "$@"
fi

picture="$PWD/exam.png"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[i]}" = --screenshot ] && [ $((i + 1)) -lt ${#args[@]} ]; then
    picture="$(realpath -m "${args[i + 1]}")"
    unset 'args[i]' 'args[i + 1]'
  fi
done
echo "No display: rendering the exam screen off-screen."
if ! QT_QPA_PLATFORM=offscreen "$exam" "${args[@]}" --screenshot "$picture"; then
  # Some Qt builds lack the offscreen platform; a virtual X display serves as well.
  xvfb-run -a "$exam" "${args[@]}" --screenshot "$picture"
fi
echo "The exam screen is in $picture"
echo "To use it interactively, run this script where there is a display (or over ssh -X)."
