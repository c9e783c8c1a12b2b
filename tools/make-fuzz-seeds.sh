#!/usr/bin/env bash
# Writes the fuzzers' seed inputs under fuzz/corpus/<fuzzer>/. The fuzzers read
# their choices (name, file kind, positions, zoom...) from the end of the input
# and take the rest as the file's bytes, so a seed is bytes plus a tail of
# choices, written here field by field in the order the fuzzer reads them.
set -euo pipefail
cd "$(dirname "$0")/.."
out=fuzz/corpus

# Octal escapes for printf, one per byte value given.
escapes() { for b in "$@"; do printf '\\%03o' "$((b & 255))"; done; }

# A screen of its own pattern: diagonal stripes in the bitmap, every ink and
# paper pair among the attributes.
screen() {
    local text="" byte i
    for ((i = 0; i < 6144; i++)); do printf -v byte '\\%03o' $(((i * 37 ^ i >> 5) & 255)); text+=$byte; done
    for ((i = 0; i < 768; i++)); do printf -v byte '\\%03o' $(((i * 11) & 127)); text+=$byte; done
    printf "$text"
}

# The fuzzer reads each field from the end of the input, most significant byte
# first; tail collects the bytes in reading order and writes them reversed.
tail_bytes=()
field() {  # field <bytes> <raw value>
    local n=$1 value=$2 i
    for ((i = n - 1; i >= 0; i--)); do tail_bytes+=($(((value >> (8 * i)) & 255))); done
}
signed32() { field 4 $(($1 + 2147483648)); }
signed64() { field 8 $(($1 ^ (1 << 63))); }
write_tail() {
    local reversed=() i
    for ((i = ${#tail_bytes[@]} - 1; i >= 0; i--)); do reversed+=("${tail_bytes[i]}"); done
    printf "$(escapes "${reversed[@]}")"
    tail_bytes=()
}

# load_render_fuzz fields, in its reading order. Names: 0 x.bin, 1 game.sna,
# 2 GAME.SNA, 3 game.Sna, 4 game.snap, 5 pic.scr, 6 shot.bmp, 7 dump, 8 .hidden,
# 9 name., 10 "pic.old copy.sna". Kinds: 0 as given, 1 repeated, 2 snapshot,
# 3 one byte short of it, 4 one byte over, 5 empty, 6 missing, 7 folder, 8 FIFO.
# Zooms: 0 is x1, 1 is x2, 2 none. Optional last: the size of a file opened
# before (0: none) and the size the file changes to before it is read (-1: no change).
load_render_tail() {
    local name=$1 kind=$2 repeated=$3 maximum=$4 line_before=$5 byte_before=$6 line=$7 byte=$8
    local zoom=$9 mono=${10} save=${11} image=${12} width=${13} height=${14} four=${15} bottom_up=${16}
    local raw_offset=${17} raw_zoom=${18} previous=${19:-0} changed=${20:--1}
    field 1 "$name"; field 1 "$kind"; field 2 $((repeated - 1))
    signed32 "$maximum"; signed32 "$line_before"; signed32 "$byte_before"; signed32 "$line"; signed32 "$byte"
    field 1 "$zoom"; field 1 "$mono"; field 1 "$save"; field 1 "$image"
    field 2 $((width - 1)); field 2 $((height - 1)); field 1 "$four"; field 1 "$bottom_up"
    signed64 "$raw_offset"; field 1 "$raw_zoom"; field 2 191; field 2 255
    field 1 $((previous > 0)); field 2 $((previous > 0 ? previous - 1 : 0))
    field 1 $((changed >= 0)); field 2 $((changed >= 0 ? changed : 0))
    write_tail
}

rm -rf "$out"
mkdir -p "$out/load_render_fuzz" "$out/settings_reader_fuzz" "$out/path_rules_fuzz"
screen > /tmp/quillon-seed-screen.$$
lr=$out/load_render_fuzz
{ cat /tmp/quillon-seed-screen.$$; load_render_tail 0 0 1 32 0 0 0 0 0 0 1 0 512 384 1 0 0 0; } > "$lr/screen-x1-saved"
{ cat /tmp/quillon-seed-screen.$$; load_render_tail 1 2 1 4096 100 5 0 27 1 1 1 1 256 192 0 1 -100 1; } > "$lr/snapshot-x2-mono"
{ cat /tmp/quillon-seed-screen.$$; load_render_tail 2 3 1 4096 3 3 40 7 0 0 0 0 300 200 1 1 27 0; } > "$lr/snapshot-one-short"
{ printf 'QUILLON'; load_render_tail 5 1 20000 0 0 0 2147483647 -5 0 0 1 0 520 390 0 0 9223372036854775807 0; } > "$lr/repeated-near-end"
{ printf '\377\000'; load_render_tail 6 0 1 100 50 31 -1 -2147483648 1 1 1 1 1 1 1 0 -9223372036854775807 1; } > "$lr/own-picture-saved"
{ load_render_tail 7 6 1 -1 0 0 0 0 0 0 1 0 64 64 1 0 0 2; } > "$lr/missing-file"
{ load_render_tail 7 6 1 -1 0 0 0 0 0 0 1 0 64 64 1 0 0 2 7000; } > "$lr/loaded-then-missing"
{ load_render_tail 4 5 1 -1 0 0 0 0 0 0 1 0 64 64 1 0 0 2 30000; } > "$lr/loaded-then-empty"
{ cat /tmp/quillon-seed-screen.$$; load_render_tail 0 0 1 0 0 0 0 0 0 0 1 0 64 64 1 0 0 0 0 1000; } > "$lr/shrinks-before-read"
{ load_render_tail 8 7 1 0 0 0 0 0 2 0 1 0 64 64 1 0 0 0; } > "$lr/folder"
{ load_render_tail 9 8 1 0 0 0 0 0 0 0 1 0 64 64 1 0 0 0; } > "$lr/fifo"
{ load_render_tail 10 5 1 0 0 0 0 0 0 0 1 0 64 64 1 0 0 0; } > "$lr/empty-file"
rm -f /tmp/quillon-seed-screen.$$

# settings_reader_fuzz: the file's bytes as they are.
sr=$out/settings_reader_fuzz
printf '\000\000\001' > "$sr/defaults"
printf '\001\001\002' > "$sr/all-set-jpg"
printf '\001' > "$sr/one-byte"
printf '\005\377\007' > "$sr/out-of-range"
printf '\001\000\002\011\011\011\011\011\011\011' > "$sr/ten-bytes"

# path_rules_fuzz: the path, then two save counters read from the end.
path_seed() {  # path_seed <file> <path> <first counter> <second counter>
    { printf '%s' "$2"; signed32 "$3"; signed32 "$4"; write_tail; } > "$out/path_rules_fuzz/$1"
}
path_seed snapshot '/data/game.sna' 0 1
path_seed two-dots '/data/archive.tar.gz' 10 2147483647
path_seed trailing-dot '/data/name.' 1 -1
path_seed dotted-folder '/my.dir/dump' 0 11
path_seed hidden '/data/.hidden' 2 0
path_seed space 'C:\data\pic.old copy' 3 4
path_seed separators-only '/\/\' 0 0
