#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates Quandrel's built-in recordings (sounds/*.wav) and pictures
# (images/*.png, images/*.gif) from the recipes below and the SVG drawings in
# images/.  The generated files are committed, so building the app does not
# need any of this; run it only after changing a sound or a drawing:
#
#     bash resources/make_resources.sh
#
# Tools (Debian 12):
#     apt-get install sox flite librsvg2-bin imagemagick
#
# Everything it writes stays inside the resources/ directory it lives in,
# including its scratch files (resources/.work, removed on exit).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
snd="$here/sounds"
img="$here/images"
work="$here/.work"

# --- tools ------------------------------------------------------------------
missing=()
need() { # command package
    command -v "$1" >/dev/null 2>&1 || missing+=("$2")
}
need sox sox
need soxi sox
need flite flite
need rsvg-convert librsvg2-bin
need convert imagemagick
if (( ${#missing[@]} )); then
    echo "make_resources.sh: missing tools; install them with:" >&2
    echo "    apt-get install $(printf '%s\n' "${missing[@]}" | sort -u | tr '\n' ' ')" >&2
    exit 1
fi
voices="$(flite -lv)"
if [[ " $voices " != *" slt "* ]]; then
    echo "make_resources.sh: flite has no 'slt' voice (apt-get install flite)" >&2
    exit 1
fi

rm -rf "$work"
mkdir -p "$work" "$snd" "$img"
trap 'rm -rf "$work"' EXIT

# -R: fixed random seed, -D: no dither -> same bytes on every run.
sx() { sox -R -D -V2 "$@"; }

# Scratch audio is 32-bit float so mixing and fading lose nothing.
F=(-e floating-point -b 32)
U8=(-e unsigned-integer -b 8)
S16=(-e signed-integer -b 16)

# ============================================================================
# Synthesised sounds
# ============================================================================

# BLEEP: a short, soft-edged electronic beep (1320 Hz plus a little octave).
sx -n -c 2 -r 11025 "${U8[@]}" -c 1 "$snd/bleep.wav" \
    synth 0.22 sine 1320 sine 2640 remix 1v0.8,2v0.2 \
    fade q 0.006 0.22 0.06 gain -n -3

# BLEEP2: a rising two-tone "bee-beep" (G6 then C7), same on both channels.
sx -n -c 2 -r 22050 "${F[@]}" "$work/b2a.wav" \
    synth 0.11 sine 1568 sine 3136 remix 1v0.8,2v0.2 \
    fade q 0.005 0.11 0.03 pad 0 0.03
sx -n -c 2 -r 22050 "${F[@]}" "$work/b2b.wav" \
    synth 0.17 sine 2093 sine 4186 remix 1v0.8,2v0.2 \
    fade q 0.005 0.17 0.07
sx "$work/b2a.wav" "$work/b2b.wav" -r 22050 "${U8[@]}" -c 2 "$snd/bleep2.wav" \
    remix 1 1 gain -n -3

# DING: a struck bell on A5; inharmonic partials, each dying away at its own
# rate (fade "l" falls linearly in dB, i.e. an exponential decay).
ding_partial() { # name freq length
    sx -n -r 11025 -c 1 "${F[@]}" "$work/$1.wav" \
        synth "$3" sine "$2" fade l 0.003 "$3" "$3"
}
ding_partial d1 880 1.45
ding_partial d2 1760 1.0
ding_partial d3 2429 0.8
ding_partial d4 4752 0.3
sx -m -v 0.55 "$work/d1.wav" -v 0.2 "$work/d2.wav" -v 0.17 "$work/d3.wav" \
    -v 0.08 "$work/d4.wav" -r 11025 "${S16[@]}" -c 1 "$snd/ding.wav" gain -n -1

# SIREN: a triangle wave gliding 600 -> 1200 Hz and back down again; the two
# glides are spliced with a short crossfade at the best-matching point.
sx -n -r 22050 -c 1 "${F[@]}" "$work/rise.wav" \
    synth 0.7 triangle 600:1200 fade h 0.03
sx -n -r 22050 -c 1 "${F[@]}" "$work/fall.wav" \
    synth 0.7 triangle 1200:600 fade h 0 0.7 0.03
sx "$work/rise.wav" "$work/fall.wav" -r 22050 "${U8[@]}" -c 1 "$snd/siren.wav" \
    splice -q 0.7,0.004,0.004 gain -n -3

# TINKLE: little bell notes (C7 E7 G7 C8 ...) rippling up and down, overlapping;
# a partial that would pass 11 kHz is replaced by the octave.
tinkle=("0.00 2093" "0.17 2637" "0.34 3136" "0.51 4186" "0.68 3136"
        "0.85 2637" "1.04 3136" "1.23 2637" "1.48 2093")
parts=()
i=0
for n in "${tinkle[@]}"; do
    read -r at f <<<"$n"
    i=$((i + 1))
    over=$(awk -v f="$f" 'BEGIN { printf "%.0f", f * 2.76 }')
    if (( over >= 11000 )); then over=$((f * 2)); fi
    sx -n -c 2 -r 22050 "${F[@]}" -c 1 "$work/t$i.wav" \
        synth 0.75 sine "$f" sine "$over" remix 1v0.8,2v0.2 \
        fade l 0.004 0.75 0.74 pad "$at" 0
    parts+=("$work/t$i.wav")
done
# (the tail below -48 dB would only be zeros in 8 bits, so it is cut off)
sx -m "${parts[@]}" -r 22050 "${U8[@]}" -c 1 "$snd/tinkle.wav" \
    gain -n -1 reverse silence 1 0.002 -48d reverse

# WHOOP: a quick upward swoop, stored as Microsoft ADPCM (4-bit).
sx -n -c 2 -r 11025 "${F[@]}" -c 1 "$work/whoop.wav" \
    synth 0.55 sine 300/1300 sine 600/2600 remix 1v0.85,2v0.15 \
    fade t 0.08 0.55 0.12
sx "$work/whoop.wav" -r 11025 -e ms-adpcm -c 1 "$snd/whoop.wav" gain -n -3

# ============================================================================
# Spoken words: flite's "slt" voice, trimmed, resampled to 44.1 kHz, peak -1 dB
# ============================================================================

# resource name | text handed to flite (spelt to steer its pronunciation)
words=(
    "biscuits|Biscuits."
    "bread|Bread."
    "cake|Cake."
    "eggs|Eggs."
    "fish|Fish."
    "greenveg|Green vedge."
    "milk|Milk."
    "pasta|Pasta."
    "pie|Pie."
    "pizza|Pizza."
    "poultry|Poultry."
    "pudding|Pudding."
    "pulses|Pulses."
    "redmeat|Red meat."
    "rice|Rice."
    "seafood|Seafood."
    "soup|Soup."
    "veges|Vedges."
    "ready|Ready."
)
for w in "${words[@]}"; do
    name="${w%%|*}"
    text="${w#*|}"
    flite -voice slt --setf duration_stretch=1.2 -t "$text" -o "$work/$name.raw.wav"
    sx "$work/$name.raw.wav" -r 44100 "${S16[@]}" -c 1 "$snd/$name.wav" \
        highpass 60 gain -n -1 \
        silence 1 0.005 -45d reverse silence 1 0.005 -45d \
        fade q 0.02 reverse fade q 0.005 \
        rate -v 44100 gain -n -1
done

# ============================================================================
# Pictures
# ============================================================================

png() { # svg size out
    rsvg-convert -w "$2" -h "$2" -f png -o "$img/$3" "$img/$1"
}
png mainicon.svg 256 mainicon.png
for s in 16 32 48 64 128 256; do png mainicon.svg "$s" "mainicon-$s.png"; done
png timericon.svg 256 timericon.png
for s in 16 32 48; do png timericon.svg "$s" "timericon-$s.png"; done
png speaker.svg 16 speaker.png
png speaker.svg 32 speaker@2x.png
png restart.svg 16 restart.png
png restart.svg 32 restart@2x.png

# The logo is a GIF, which has only on/off transparency: blend the soft edges
# onto a light window grey, then keep pixels that are at least half covered.
gif() { # size out
    rsvg-convert -w "$1" -h "$1" -f png -o "$work/logo-$1.png" "$img/logo.svg"
    convert "$work/logo-$1.png" \
        \( -clone 0 -background '#eeeeee' -alpha remove -alpha off \) \
        \( -clone 0 -alpha extract -threshold 50% \) \
        -delete 0 -compose copy_opacity -composite \
        +dither -colors 255 -strip "$img/$2"
}
gif 64 logo.gif
gif 128 logo@2x.gif

# ============================================================================
# Check every recording: format as the app expects it, and under 3 seconds.
# ============================================================================

# name | rate | bits | channels | encoding (as soxi -e prints it)
expect=(
    "bleep|11025|8|1|Unsigned Integer PCM"
    "bleep2|22050|8|2|Unsigned Integer PCM"
    "ding|11025|16|1|Signed Integer PCM"
    "siren|22050|8|1|Unsigned Integer PCM"
    "tinkle|22050|8|1|Unsigned Integer PCM"
    "whoop|11025|4|1|MS ADPCM"
)
for w in "${words[@]}"; do
    expect+=("${w%%|*}|44100|16|1|Signed Integer PCM")
done

bad=0
for e in "${expect[@]}"; do
    IFS='|' read -r name rate bits chans enc <<<"$e"
    f="$snd/$name.wav"
    if [[ ! -s "$f" ]] || [[ "$(head -c 4 "$f")" != RIFF ]]; then
        echo "FAIL $name.wav: missing or not a RIFF file" >&2
        bad=1
        continue
    fi
    got="$(soxi -r "$f")|$(soxi -b "$f")|$(soxi -c "$f")|$(soxi -e "$f")"
    want="$rate|$bits|$chans|$enc"
    ms=$(awk -v d="$(soxi -D "$f")" 'BEGIN { printf "%.0f", d * 1000 }')
    if [[ "$got" != "$want" ]]; then
        echo "FAIL $name.wav: format $got, expected $want" >&2
        bad=1
    elif (( ms <= 0 || ms >= 3000 )); then
        echo "FAIL $name.wav: $ms ms long, must be under 3000 ms" >&2
        bad=1
    else
        printf '  %-13s %5s Hz %2s-bit %s ch  %-21s %5d ms\n' \
            "$name.wav" "$rate" "$bits" "$chans" "$enc" "$ms"
    fi
done
if (( bad )); then
    echo "make_resources.sh: some recordings are wrong (see above)" >&2
    exit 1
fi
echo "make_resources.sh: all recordings and pictures regenerated"
