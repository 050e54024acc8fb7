#!/bin/sh
# Our archiver libraries against the fastest command-line tool at the same
# level, on a 200 MB mixed tree (many small files, a few large ones, text and
# incompressible data). Prints each time and the ratio ours / fastest peer.
#   run.sh BUILD_DIR
# Use a Release build without sanitizers configured with -DVX_ARCHIVE_BENCH=ON.
# Needs zip, unzip, 7z (p7zip-full), tar, gcab, bsdtar (libarchive-tools); valgrind for
# instruction counts.
set -eu
build=${1:-}
if [ -z "$build" ] || [ ! -x "$build/arccall" ]; then
    echo "usage: $0 BUILD_DIR (with arccall: configure with -DVX_ARCHIVE_BENCH=ON)" >&2
    exit 2
fi
build=$(cd "$build" && pwd)
call="$build/arccall"
for tool in zip unzip 7z tar gcab bsdtar; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
src="$work/src"
mkdir -p "$src"
# 4000 small text files in 40 folders (about 40 MB), two 40 MB random files,
# one 80 MB text file.
i=0
while [ $i -lt 40 ]; do
    mkdir -p "$src/d$i"
    seq 1 1000 | sed "s/^/folder $i line /" > "$src/d$i/base.txt"
    j=0
    while [ $j -lt 100 ]; do
        cp "$src/d$i/base.txt" "$src/d$i/f$j.txt"
        echo "$i $j" >> "$src/d$i/f$j.txt"
        j=$((j + 1))
    done
    i=$((i + 1))
done
head -c 40000000 /dev/urandom > "$src/random1.bin"
head -c 40000000 /dev/urandom > "$src/random2.bin"
seq 1 12000000 | sed 's/$/ some text/' | head -c 80000000 > "$src/big.txt"
echo "tree: $(du -sm "$src" | cut -f1) MB"

now() { date +%s.%N; }
# time_of COMMAND...: seconds, from a clean output folder each time.
time_of() {
    rm -rf "$work/out" && mkdir -p "$work/out"
    sync
    t0=$(now)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; echo 0; return; }
    t1=$(now)
    echo "$t1 - $t0" | bc -l
}
report() { # name ours peer...
    name=$1; ours=$2; shift 2
    best=""
    for p in "$@"; do
        if [ -z "$best" ] || [ "$(echo "$p < $best" | bc -l)" = 1 ]; then best=$p; fi
    done
    printf '%-22s ours %7.2fs  fastest peer %7.2fs  ratio %.2f\n' "$name" "$ours" "$best" "$(echo "$ours / $best" | bc -l)"
}
q='"'
cd "$work"
# ZIP, level 6.
o=$(time_of "$call" zip32j.so Zip "-r  -6 ${q}$work/a.zip${q} ${q}$src/${q} *.*")
p1=$(rm -f z.zip; time_of sh -c "cd $src && zip -q -r -6 $work/z.zip .")
p2=$(rm -f s.zip; time_of 7z a -tzip -mx=5 -mmt=1 "$work/s.zip" "$src/.")
report "zip create" "$o" "$p1" "$p2"
o=$(time_of "$call" unzip32.so UnZip "-x -o -q ${q}$work/a.zip${q} ${q}$work/out/x/${q} *.*")
p1=$(time_of unzip -q -o "$work/a.zip" -d "$work/out")
p2=$(time_of 7z x -y -o"$work/out" "$work/a.zip")
report "zip extract" "$o" "$p1" "$p2"
# TAR with gzip, level 6.
o=$(time_of "$call" tar32.so Tar "-cv -z6 -f ${q}$work/a.tgz${q} ${q}$src/${q} *.*")
p1=$(time_of sh -c "tar -C $src -cf - . | gzip -6 > $work/t.tgz")
p2=$(time_of sh -c "tar -C $src -cf - . | 7z a -tgzip -mx=5 -si $work/s.tgz")
report "tgz create" "$o" "$p1" "$p2"
o=$(time_of "$call" tar32.so Tar "-xvf ${q}$work/a.tgz${q} -o ${q}$work/out/x${q}")
p1=$(time_of tar -xzf "$work/a.tgz" -C "$work/out")
p2=$(time_of sh -c "7z x -so $work/a.tgz | tar -xf - -C $work/out")
report "tgz extract" "$o" "$p1" "$p2"
# CAB (MSZIP).
o=$(time_of "$call" cab32.so Cab "-a -r ${q}$work/a.cab${q} ${q}$src/${q} *.*")
p1=$(rm -f g.cab; time_of sh -c "cd $src && find . -type f | sed 's|^./||' | xargs gcab -c -z $work/g.cab")
report "cab create" "$o" "$p1"
o=$(time_of "$call" cab32.so Cab "-x -o ${q}$work/a.cab${q} ${q}$work/out/x/${q} *.*")
p1=$(time_of 7z x -y -o"$work/out" "$work/a.cab")
report "cab extract" "$o" "$p1"
# CAB extraction at 20 MB and 200 MB against 7z, gcab and bsdtar: the first
# run (fresh process, files not yet in the page cache's favour) apart from the
# median of three more, interleaved, beside a floor (cp -r of the same tree);
# with valgrind, instruction counts too (load does not move them).
mkdir -p "$work/c20"
cp -r "$src/d0" "$src/d1" "$src/d2" "$src/d3" "$work/c20/"
head -c 16000000 "$src/random1.bin" > "$work/c20/r.bin"
for size in 20 200; do
    tree=$src
    [ "$size" = 20 ] && tree=$work/c20
    cab=$work/g$size.cab
    rm -f "$cab"
    (cd "$tree" && find . -type f | sed 's|^./||' | xargs gcab -c -z "$cab")
    for run in 1 2 3 4; do
        t_o=$(time_of "$call" cab32.so Cab "-x -o ${q}$cab${q} ${q}$work/out/x/${q} *.*")
        t_7=$(time_of 7z x -y -o"$work/out" "$cab")
        t_g=$(time_of gcab -x -C "$work/out" "$cab")
        t_b=$(time_of bsdtar -xf "$cab" -C "$work/out")
        t_f=$(time_of cp -r "$tree" "$work/out/copy")
        echo "$t_o $t_7 $t_g $t_b $t_f" >> "$work/cab$size.times"
    done
    first=$(head -1 "$work/cab$size.times")
    med=""
    for col in 1 2 3 4 5; do
        med="$med $(tail -3 "$work/cab$size.times" | awk -v c=$col '{print $c}' | sort -n | sed -n 2p)"
    done
    for label in first steady; do
        [ "$label" = first ] && set -- $first || set -- $med
        best=$2
        for p in $3 $4; do [ "$(echo "$p < $best" | bc -l)" = 1 ] && best=$p; done
        printf 'cab extract %3s MB %-6s ours %6.2fs  7z %6.2fs  gcab %6.2fs  bsdtar %6.2fs  floor %6.2fs  ratio %.2f\n' \
            "$size" "$label" "$1" "$2" "$3" "$4" "$5" "$(echo "$1 / $best" | bc -l)"
    done
    if command -v valgrind >/dev/null; then
        ir() {
            rm -rf "$work/out" && mkdir -p "$work/out"
            valgrind --tool=callgrind --trace-children=yes --callgrind-out-file="$work/cg.%p" "$@" >/dev/null 2>"$work/cg.err"
            rm -f "$work"/cg.[0-9]*
            grep -h Collected "$work/cg.err" | awk '{s += $4} END {printf "%.0f\n", s}'
        }
        i_o=$(ir "$call" cab32.so Cab "-x -o ${q}$cab${q} ${q}$work/out/x/${q} *.*")
        i_7=$(ir 7z x -y -o"$work/out" "$cab")
        i_g=$(ir gcab -x -C "$work/out" "$cab")
        i_b=$(ir bsdtar -xf "$cab" -C "$work/out")
        best=$i_7
        for p in $i_g $i_b; do [ "$p" -lt "$best" ] && best=$p; done
        printf 'cab extract %3s MB instructions ours %d  7z %d  gcab %d  bsdtar %d  ratio %.3f\n' \
            "$size" "$i_o" "$i_7" "$i_g" "$i_b" "$(echo "$i_o / $best" | bc -l)"
    fi
done
echo "load: $(uptime)"
# LZH: creation has no peer; extraction against 7z.
o=$(time_of "$call" unlha32.so Unlha "a -d1 -y1 -h2 -jm2 ${q}$work/a.lzh${q} ${q}$src/${q} *.*")
printf '%-22s ours %7.2fs  (no peer)\n' "lzh create -lh5-" "$o"
o=$(time_of "$call" unlha32.so Unlha "x -d1 -y1 ${q}$work/a.lzh${q} ${q}$work/out/x${q}/ *.*")
p1=$(time_of 7z x -y -o"$work/out" "$work/a.lzh")
report "lzh extract" "$o" "$p1"
ls -l "$work"/*.zip "$work"/*.tgz "$work"/*.cab "$work"/*.lzh
