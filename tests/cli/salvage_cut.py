"""Cuts archives at many points and checks `kvxtool extract --salvage` against 7z on each cut copy:
every file 7z recovers whole (and its CRC sound: 7z also keeps data that fails it) is salvaged too, and whatever is salvaged is byte for byte what unzip
(or, for the methods unzip lacks, 7z) unpacks from the whole archive. Usage: salvage_cut.py KVXTOOL STRIDE ARCHIVE..."""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

tool, stride, archives = sys.argv[1], int(sys.argv[2]), sys.argv[3:]


def links_of(archive):
    try:
        infos = zipfile.ZipFile(archive).infolist()
    except (zipfile.BadZipFile, OSError):
        return set()
    return {i.filename for i in infos if (i.external_attr >> 16) & 0o170000 == 0o120000}


def files_of(folder):
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if os.path.isfile(path) and not os.path.islink(path):
                found[os.path.relpath(path, folder)] = open(path, "rb").read()
    return found


def run(args, cwd):
    subprocess.run(args, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


problems, cuts, salvaged_total, peer_total = [], 0, 0, 0
work = tempfile.mkdtemp()
try:
    for archive in archives:
        data = open(archive, "rb").read()
        whole = os.path.join(work, "whole")
        shutil.rmtree(whole, ignore_errors=True)
        os.mkdir(whole)
        run(["7z", "x", "-y", "-p", "-o" + whole, os.path.abspath(archive)], work)
        reference = files_of(whole)
        shutil.rmtree(whole)
        os.mkdir(whole)
        run(["unzip", "-qq", "-o", "-P", "", os.path.abspath(archive)], whole)
        reference.update(files_of(whole))
        # A link entry is a link only by its central header: 7z writes it empty, unzip as a link,
        # a salvage as a file holding its target. It is left out of the comparison.
        for link in links_of(archive):
            reference.pop(link, None)
        # Every stride-th cut, and the bytes around each local header, where entries end.
        points = set(range(1, len(data), stride))
        at = data.find(b"PK\x03\x04")
        while at >= 0:
            points.update(p for p in range(at - 2, at + 3) if 0 < p < len(data))
            at = data.find(b"PK\x03\x04", at + 1)
        for cut in sorted(points):
            cuts += 1
            cut_file = os.path.join(work, "cut.zip")
            open(cut_file, "wb").write(data[:cut])
            peer, ours = os.path.join(work, "peer"), os.path.join(work, "ours")
            for folder in (peer, ours):
                shutil.rmtree(folder, ignore_errors=True)
                os.mkdir(folder)
            run(["7z", "x", "-y", "-p", "-o" + peer, cut_file], work)
            run([tool, "extract", "--salvage", "-d", ours, cut_file], work)
            peer_whole = {n for n, b in files_of(peer).items() if reference.get(n) == b}
            salvaged = {n: b for n, b in files_of(ours).items() if n in reference}
            salvaged_total += len(salvaged)
            peer_total += len(peer_whole)
            # By content: where names are read differently (a Shift-JIS name), the bytes still agree.
            peer_files = files_of(peer)
            ours_bytes = list(files_of(ours).values())
            missing = []
            for n in sorted(peer_whole):
                if peer_files[n] in ours_bytes:
                    ours_bytes.remove(peer_files[n])
                else:
                    missing.append(n)
            wrong = sorted(n for n, b in salvaged.items() if reference.get(n) != b)
            if missing or wrong:
                problems.append("%s cut at %d: missing %s, wrong %s" % (archive, cut, missing, wrong))
finally:
    shutil.rmtree(work, ignore_errors=True)

for p in problems[:20]:
    print("FAIL", p)
for archive in archives:
    count = sum(p.startswith(archive + " ") for p in problems)
    if count:
        print("%s: %d cuts with problems" % (archive, count))
print("%d cuts: 7z recovered %d files whole, salvage %d, %d problems" % (cuts, peer_total, salvaged_total,
                                                                       len(problems)))
sys.exit(1 if problems else 0)
