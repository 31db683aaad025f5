#!/usr/bin/env bash
# End-to-end test of the real program: run.sh path/to/p2pblocker.exe WORKDIR
#
# Starts the exe under Wine in a throwaway prefix (WORKDIR/prefix), works the
# window with xdotool the way a user would (Tab, Shift+Tab, Space, mouse
# clicks, the confirmation box, Esc), and checks both what the window shows and
# what it leaves in the prefix's disallow list.
#
# Set P2PB_UPDATE_SCREENSHOT=1 to also copy the screenshot to docs/.
#
# What Wine 8 does here, and this script relies on:
# - With the virtual desktop on, the desktop is an X window at +0+0 on the
#   display, and each Wine top-level window (frame and title bar included) is
#   an X child of it, named after its title. `xwininfo` gives its true
#   position; `xdotool getwindowgeometry` adds the offset twice without a
#   window manager, so it is not used.
# - The client area's offset inside the frame is measured from a screenshot:
#   the group box's left edge and the 全选 button's bottom edge. With Wine's
#   default look that is (3,22), and the window sits at 362,214 on the display.
# - When the confirmation box closes, the program takes activation and focus
#   back itself (Wine would leave no window active): keys work at once.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 p2pblocker.exe WORKDIR" >&2; exit 2; }
exe="$(realpath "$1")"
work="$(realpath -m "$2")"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
mkdir -p "$work"
rm -f "$work"/*.png "$work"/list-* "$work"/wine.log

export WINEPREFIX="$work/prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
list_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\DisallowRun'

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
fatal() {
  echo "FAIL: $*"
  echo "FAIL: stopped early; screen saved as $work/failure.png"
  import -window root "$work/failure.png" >/dev/null 2>&1 || true
  exit 1
}

# ---------------------------------------------------------------- the program
# Rows of the catalogue and the value names each one governs.
catalogue=(
  [1]="QQDownload.exe"          [2]="kugou.exe"             [3]="vagaa.exe"
  [4]="PP.exe PP2008.exe CMUpnp.dll"                        [5]="emule.exe"
  [6]="WebThunder.exe"          [7]="P8.exe"                [8]="100bao.exe"
  [9]="flashget.exe"            [10]="BitComet.exe"         [11]="BitSpirit.exe"
  [12]="netcut.exe"             [13]="Robocop.exe"          [14]="SixthSense.exe"
  [15]="Poco2007.exe"           [16]="PPGou.exe"            [17]="btby.exe"
  [18]="Kamun.exe"              [19]="RealLink.exe"         [20]="KuroMusic.exe"
  [21]="bzbox.exe"              [22]="PPLive.exe"           [23]="QQLive.exe"
  [24]="server.met Thunder.exe Thunder5.exe Thunder6.exe"
  [25]="QvodPlayer.exe QvodTerminal.exe"                    [26]="Tuotu.exe"
  [27]="KwMV.exe KwMusic.exe"   [28]="uTorrent.exe"         [29]="Sooyuu.exe"
  [30]="PPSAP.exe PPStream.exe" [31]="UUSeePlayer.exe"      [32]="Funshion.exe"
  [33]="FlashBT.exe"            [34]="QQDownload.exe"       [35]="xmp.exe"
  [36]="gvods.exe"
)
# The data written for a name is the name itself, except:
declare -A data_for=([QQLive.exe]=qqlive.exe)

# The controls in tab order: row (0 for buttons), parent (G = group box,
# W = window), and position and size relative to the parent's client area.
# The group box itself lies at (3,0) in the window's client area.
layout='
 0  1 G  13  15 85 14 超级旋风
 1  2 G 110  10 87 24 酷狗音乐
 2  4 W  16  32 96 24 PP点点通
 3  3 W 204   9 82 24 Vagaa哇嘎
 4  7 G  13  54 96 24 P8
 5 10 G  13  76 96 24 BitComnt
 6 13 G  13  98 96 24 网络执法官
 7 16 G  13 120 96 24 屁屁狗
 8 19 G  13 142 96 24 维宇RealLink
 9 22 G  14 164 96 24 PPlive
10 25 G  14 186 96 24 QVOD
11 28 G  14 208 96 24 uTorrent
12 23 G 111 164 96 24 QQ直播
13 26 G 111 186 96 24 脱兔
14 29 G 111 208 96 24 搜狐
15 17 G 110 120 96 24 百听不厌
16 20 G 110 142 96 24 Kuro音乐盒
17 14 G 110  98 96 24 QQ第六感
18 11 G 110  76 96 24 比特精灵
19  8 G 110  54 96 24 百宝
20  5 G 110  32 96 24 eMule
21 24 G 202 163 81 24 迅雷
22 27 G 202 185 82 24 酷我音乐盒
23 30 G 202 207 79 24 PPStream
24 18 G 201 119 82 24 卡盟
25 21 G 201 141 78 24 百兆BOX
26 15 G 201  97 80 24 Poco2007
27 12 G 201  75 80 24 网络剪刀手
28  9 G 201  53 80 24 快车
29  6 G 201  31 80 24 Web迅雷
30 33 G 203 229 79 24 FlashFXP
31 32 G 112 230 87 24 风行
32 31 G  15 230 96 24 UUSee
33  0 W   9 277 84 25 全选
34  0 W 103 277 84 25 反选
35  0 W 198 277 84 25 应用
36 36 G 203 250 80 24 迅播GVOD
37 35 G 112 251 87 24 迅雷播放器
38 34 G  15 251 96 24 QQ旋风
'
group_left=3
outer_w=299
outer_h=339

# Client-area rectangle "left top width height" of a control, by its caption.
declare -A rect_of
# Client-area rectangles of the check boxes, "row left top width height", one a line.
box_rects=""
while read -r index row parent left top width height caption; do
  [ -n "${index:-}" ] || continue
  [ "$parent" = G ] && left=$((left + group_left))
  rect_of[$caption]="$left $top $width $height"
  [ "$row" -gt 0 ] && box_rects+="$row $left $top $width $height"$'\n'
done <<<"$layout"

# A spot of the window's own client area, between the 全选 and 反选 buttons.
bare_spot=(98 289)

# ------------------------------------------------------------- display, Wine
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null
  fi
  wineserver -k >/dev/null 2>&1 </dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  n=60
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || [ "$n" -eq 77 ]; do n=$((n + 1)); done
  [ "$n" -lt 90 ] || fatal "no free X display number between 60 and 89"
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  echo "INFO: started Xvfb on $DISPLAY"
fi
xdpyinfo >/dev/null 2>&1 || fatal "cannot open X display $DISPLAY"

"$repo/scripts/wine-prefix.sh" "$WINEPREFIX" || fatal "could not create the Wine prefix $WINEPREFIX"
wineserver -k >/dev/null 2>&1 </dev/null  # a server left over from an interrupted run
wineserver -p >/dev/null 2>&1 </dev/null

wreg() { wine reg "$@" </dev/null 2>/dev/null; }

# ------------------------------------------------------------ the list itself
# Saves the list as "lowercased name<TAB>name<TAB>exported value" lines, with
# long values joined into one line. A REG_SZ value is exported as "data".
snapshot() {
  local out="$1"
  wreg export "$list_key" "$out.reg" /y >/dev/null || { : >"$out"; return 1; }
  iconv -f UTF-16 -t UTF-8 "$out.reg" | tr -d '\r' | sed -e ':a' -e '/\\$/N; s/\\\n *//; ta' |
    sed -n 's/^"\([^"]*\)"=\(.*\)$/\1\t\2/p' |
    awk -F'\t' '{ print tolower($1) "\t" $1 "\t" $2 }' | sort >"$out"
}

wreg delete "$list_key" /f >/dev/null
wreg add "$list_key" /v kugou.exe /t REG_SZ /d kugou.exe /f >/dev/null &&
  wreg add "$list_key" /v PP.exe /t REG_SZ /d PP.exe /f >/dev/null &&
  wreg add "$list_key" /v qqdownload.EXE /t REG_SZ /d qqdownload.EXE /f >/dev/null &&
  wreg add "$list_key" /v 1 /t REG_SZ /d notepad.exe /f >/dev/null &&
  wreg add "$list_key" /v Thunder.exe.bak /t REG_EXPAND_SZ /d '%ProgramFiles%\Thunder.exe' /f >/dev/null ||
  fatal "could not prepare the list with wine reg"
snapshot "$work/list-start" || fatal "could not export the list"
foreign=$(grep -E '^(1|thunder\.exe\.bak)'$'\t' "$work/list-start")
[ "$(grep -c . <<<"$foreign")" -eq 2 ] || fatal "the values that are not in the catalogue were not written"

# What the boxes should show: the rows whose probe name is on the list
# (qqdownload.EXE ticks 超级旋风 and QQ旋风).
declare -a ticked
for row in $(seq 36); do ticked[$row]=0; done
for row in 1 2 4 34; do ticked[$row]=1; done

# check_list N STAGE: compares the list with the ticked rows: each ticked row's values hold their
# data, no other catalogue value is left, and the foreign values are untouched.
check_list() {
  local now="$work/list-$1" stage="$2" bad=0 row name want got
  snapshot "$now" || { fail "$stage: could not export the list"; return; }
  declare -A expected=()
  for row in $(seq 36); do
    [ "${ticked[$row]}" -eq 1 ] || continue
    for name in ${catalogue[$row]}; do expected[$name]="\"${data_for[$name]:-$name}\""; done
  done
  for name in "${!expected[@]}"; do
    got=$(awk -F'\t' -v n="${name,,}" '$1 == n { print $3 }' "$now")
    want="${expected[$name]}"
    if [ "$got" != "$want" ]; then
      fail "$stage: $name should be $want (REG_SZ), found '${got:-nothing}'"
      bad=1
    fi
  done
  while IFS=$'\t' read -r lower name got; do
    [ -n "$lower" ] || continue
    grep -qxF "$lower"$'\t'"$name"$'\t'"$got" <<<"$foreign" && continue
    local listed=0 n
    for n in "${!expected[@]}"; do [ "${n,,}" = "$lower" ] && listed=1; done
    if [ "$listed" -eq 0 ]; then
      fail "$stage: $name=$got is on the list but no ticked row names it"
      bad=1
    fi
  done <"$now"
  while IFS= read -r line; do
    if ! grep -qxF "$line" "$now"; then
      fail "$stage: foreign value changed or gone: $(cut -f2- <<<"$line" | tr '\t' '=')"
      bad=1
    fi
  done <<<"$foreign"
  [ "$bad" -eq 0 ] && pass "$stage: the list holds exactly the ${#expected[@]} values of the ticked rows, and the foreign values are untouched"
}

# ------------------------------------------------------------------- screen
win=""      # X window of the main window
win_x=0     # its outer top-left corner on the display
win_y=0
cx=-1       # client-area origin inside the outer rectangle
cy=-1

# "x y width height" of an X window on the display.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                           /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'
}

capture() { import -window root -crop "${outer_w}x${outer_h}+${win_x}+${win_y}" +repage "$1" 2>/dev/null; }

# Reads a capture of the window; prints "origin X Y" and "row R 0|1" for each box.
# A box counts as ticked when its check square holds black pixels.
analyse() {
  convert "$1" -colorspace Gray -depth 8 gray:- 2>/dev/null | od -An -v -tu1 -w"$outer_w" |
    awk -v boxes="$box_rects" -v gl="$group_left" -v btn="${rect_of[全选]}" '
      { for (i = 1; i <= NF; i++) px[NR - 1, i - 1] = $i; h = NR; w = NF }
      END {
        if (h == 0) exit
        # The group box edge is the first dark column in from the left frame.
        ox = -1
        for (x = 0; x < 30; x++) if (px[int(h / 2), x] < 200) { ox = x - gl; break }
        # The button bottom edge is the first dark row up from the bottom frame,
        # which is as thick as the side frames.
        split(btn, b, " ")
        oy = -1
        if (ox >= 0) {
          x = ox + b[1] + int(b[3] / 2)
          for (y = h - 1 - ox; y > h / 2; y--) if (px[y, x] < 200) { oy = y - (b[2] + b[4] - 1); break }
        }
        print "origin", ox, oy
        if (ox < 0 || oy < 0) exit
        # Unpainted spots: 16x16 blocks of one colour other than the face colour.
        face = px[oy + 1, ox + 1]
        patches = 0
        for (by = oy; by + 16 <= h - ox; by += 8)
          for (bx = ox; bx + 16 <= w - ox; bx += 8) {
            v = px[by, bx]
            if (v == face) continue
            same = 1
            for (y = by; y < by + 16 && same; y++)
              for (x = bx; x < bx + 16; x++) if (px[y, x] != v) { same = 0; break }
            if (same && !patches++) where = (bx - ox) "," (by - oy)
          }
        print "patches", patches, where
        n = split(boxes, line, "\n")
        for (i = 1; i <= n; i++) {
          if (split(line[i], f, " ") < 5) continue
          mid = oy + f[3] + int(f[5] / 2)
          dark = 0
          for (y = mid - 7; y < mid + 7; y++)
            for (x = ox + f[2]; x < ox + f[2] + 12; x++) if (px[y, x] < 64) dark++
          print "row", f[1], (dark >= 5 ? 1 : 0)
        }
      }'
}

# The window must be fully painted: no blank or black patches.
check_paint() {
  local stage="$1" shot="$work/$2.png" n where
  read -r _ n where < <(analyse "$shot" | grep '^patches')
  [ "${n:-1}" -eq 0 ] && pass "$stage: the window is painted all over" ||
    fail "$stage: $n unpainted 16x16 patches in the client area, the first at client ${where:-?} (see $shot)"
}

# Client coordinates to display coordinates.
at() { echo $((win_x + cx + $1)) $((win_y + cy + $2)); }
click_at() {
  local x y
  read -r x y < <(at "$1" "$2")
  xdotool mousemove "$x" "$y" click 1
}
click() {
  local r
  read -ra r <<<"${rect_of[$1]}"
  click_at $((r[0] + r[2] / 2)) $((r[1] + r[3] / 2))
}

# Waits (bounded) until the boxes show the ticked rows; on a mismatch reports
# it and takes the screen's state as the truth, so that the list checks that
# follow compare with what the user saw.
expect_boxes() {
  local stage="$1" shot="$work/$2.png" i row state seen diff
  for i in $(seq 25); do
    capture "$shot"
    seen=$(analyse "$shot" | awk '$1 == "row" { print $2, $3 }' | sort -n)
    diff=""
    while read -r row state; do
      [ "${ticked[$row]}" = "$state" ] || diff+="${diff:+, }row $row $([ "$state" = 1 ] && echo ticked || echo clear)"
    done <<<"$seen"
    [ "$(grep -c . <<<"$seen")" -eq 36 ] && [ -z "$diff" ] && { pass "$stage: the boxes show rows $(ticked_list)"; return 0; }
    sleep 0.2
  done
  fail "$stage: the boxes show ${diff:-fewer than 36 boxes}; expected ticked rows $(ticked_list) (see $shot)"
  while read -r row state; do ticked[$row]=$state; done <<<"$seen"
  return 1
}
ticked_list() {
  local row out=""
  for row in $(seq 36); do [ "${ticked[$row]}" -eq 1 ] && out+="$row,"; done
  echo "${out%,}"
}

# Waits (bounded) until the X input focus is on the main window. With "click",
# clicks a bare spot of the window while it is not, as a user would.
activate() {
  local i
  for i in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ] && return 0
    [ "${1:-}" = click ] && [ $((i % 10)) -eq 1 ] && click_at "${bare_spot[@]}"
    sleep 0.1
  done
  fatal "the main window does not have the keyboard focus"
}

# Waits for the confirmation box, checks its caption and closes it with Enter.
confirm() {
  local stage="$1" box="" i name
  for i in $(seq 100); do
    box=$(xdotool search --onlyvisible --name '^信息' 2>/dev/null | head -n1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fatal "$stage: no confirmation box appeared"
  name=$(xdotool getwindowname "$box")
  [ "$name" = "信息：" ] && pass "$stage: the confirmation box \"$name\" appeared" ||
    fail "$stage: the confirmation box is titled \"$name\", expected \"信息：\""
  local bx by bw bh
  read -r bx by bw bh < <(geometry "$box")
  import -window root -crop "${bw}x${bh}+${bx}+${by}" +repage "$work/confirmation.png" 2>/dev/null
  for i in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$box" ] && break
    sleep 0.1
  done
  xdotool key Return
  for i in $(seq 100); do
    xdotool search --onlyvisible --name '^信息' >/dev/null 2>&1 || { pass "$stage: Enter closed the confirmation box"; return 0; }
    sleep 0.1
  done
  fatal "$stage: Enter did not close the confirmation box"
}

# ------------------------------------------------------------------ the run
(cd "$work" && exec wine "$exe" >"$work/wine.log" 2>&1 </dev/null) &
app_pid=$!

for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^MorvestaP2P' 2>/dev/null | head -n1)
  [ -n "$win" ] && break
  kill -0 "$app_pid" 2>/dev/null || fatal "the program exited before showing its window"
  sleep 0.1
done

if [ -n "$win" ]; then
  read -r win_x win_y win_w win_h < <(geometry "$win")
  [ "$win_w" -eq "$outer_w" ] && [ "$win_h" -eq "$outer_h" ] && pass "the window is ${win_w}x${win_h}" ||
    fail "the window is ${win_w}x${win_h}, expected ${outer_w}x${outer_h}"
  [ "$(xdotool getwindowname "$win")" = "MorvestaP2P软件屏蔽器 V1.0" ] && pass "the window is titled \"MorvestaP2P软件屏蔽器 V1.0\"" ||
    fail "the window is titled \"$(xdotool getwindowname "$win")\""
  # Parent of the window: the virtual desktop it is centred on.
  desk=$(xwininfo -children -id "$win" | awk '/Parent window id:/ { print $4 }')
else
  # Wine top-level windows are not X windows of their own here: the window is
  # centred on the 1024x768 virtual desktop.
  desk=$(xdotool search --onlyvisible --name 'Wine desktop' 2>/dev/null | tail -n1)
  [ -n "$desk" ] || fatal "neither the window nor a Wine desktop appeared within 20 s"
  read -r dx dy dw dh < <(geometry "$desk")
  win_x=$((dx + (dw - outer_w) / 2))
  win_y=$((dy + (dh - outer_h) / 2))
  echo "INFO: no X window for the main window; placing it in the middle of the desktop, at $win_x,$win_y"
fi
# Another Wine prefix may have its own desktop on this display.
[ -n "${desk:-}" ] && xdotool windowraise "$desk" 2>/dev/null

for _ in $(seq 50); do
  capture "$work/start.png"
  read -r _ cx cy < <(analyse "$work/start.png" | head -n1)
  [ "${cx:--1}" -ge 1 ] && [ "$cx" -le 10 ] && [ "${cy:--1}" -ge 10 ] && [ "$cy" -le 50 ] && break
  sleep 0.2
done
[ "${cx:--1}" -ge 1 ] && [ "$cx" -le 10 ] && [ "${cy:--1}" -ge 10 ] && [ "$cy" -le 50 ] ||
  fatal "could not find the client area in $work/start.png (got ${cx:-?},${cy:-?})"
echo "INFO: window at $win_x,$win_y; client area starts $cx,$cy inside it"
[ -n "$win" ] || win=$(xdotool getwindowfocus)

expect_boxes "start" start && check_paint "start" start

# Keyboard: the window opens with the focus on 超级旋风.
activate
xdotool key space           # 超级旋风 off; QQ旋风 still governs QQDownload.exe
xdotool key Tab space       # 酷狗音乐 off
xdotool key Tab Tab space   # past PP点点通, Vagaa哇嘎 on
ticked[1]=0 ticked[2]=0 ticked[3]=1
expect_boxes "Tab and Space" keys1
click 迅雷
ticked[24]=1
expect_boxes "mouse click on 迅雷" click1
click 应用
confirm "first apply"
check_list 1 "first apply"

# Keyboard again, after putting the focus on 迅雷 with the mouse: Tab to
# QQ旋风, the last tab stop, then round the end and back in both directions.
activate click
click 迅雷                      # 迅雷 off
for _ in $(seq 17); do xdotool key Tab; done   # 17 stops on, to QQ旋风
xdotool key space               # QQ旋风 off: QQDownload.exe has no box left
xdotool key Tab shift+Tab       # to 超级旋风 and back round to QQ旋风
xdotool key shift+Tab Return space  # 迅雷播放器 on; Enter does nothing
ticked[24]=0 ticked[34]=0 ticked[35]=1
expect_boxes "Tab round the end, Shift+Tab, Enter" keys2
xdotool key shift+Tab shift+Tab space  # back to 迅播GVOD, 应用: Space clicks it
confirm "second apply (Space on 应用)"
check_list 2 "second apply"

activate
click 全选
for row in $(seq 36); do ticked[$row]=1; done
if expect_boxes "全选" select-all; then
  check_paint "全选" select-all
  cp "$work/select-all.png" "$work/screenshot.png"
  echo "INFO: screenshot: $work/screenshot.png"
  if [ "${P2PB_UPDATE_SCREENSHOT:-}" = 1 ]; then
    mkdir -p "$repo/docs" && cp "$work/screenshot.png" "$repo/docs/screenshot.png" &&
      echo "INFO: copied to $repo/docs/screenshot.png"
  fi
fi
click 应用
confirm "apply after 全选"
check_list 3 "apply after 全选"

activate
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "Esc did not close the window within 10 s"
else
  wait "$app_pid"
  rc=$?
  app_pid=""
  [ "$rc" -eq 0 ] && pass "Esc closed the window, exit code 0" || fail "Esc closed the window with exit code $rc"
fi

if [ "$failures" -gt 0 ]; then
  echo "FAIL: $failures check(s) failed"
  exit 1
fi
echo "PASS: all checks passed"
