#!/usr/bin/env python3
"""The user documentation as the installer ships it: every Markdown file of
docs/ rendered to HTML by cmark-gfm (GitHub's own dialect, so the pages read
as they do in the repository), the images they show copied beside them, one
stylesheet, and an NSIS include that installs and removes exactly these files.

    guide_html.py --cmark cmark-gfm --css guide.css --docs docs --out DIR

A link to another of the Markdown files becomes a link to its page; a link to
something that is not installed (the README beside docs/) keeps its text and
loses the link. Headings get GitHub's anchors, so "page.md#a-heading" links
still land. An image or linked file of docs/ that is missing fails the build.
"""
import argparse
import html
import pathlib
import re
import shutil
import subprocess
import sys

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<link rel="stylesheet" href="{css}">
</head>
<body>
<div class="page">
{body}</div>
</body>
</html>
"""
HEADING = re.compile(r"<h([1-6])>(.*?)</h\1>", re.S)
LINK = re.compile(r'<a href="([^"]*)"((?: title="[^"]*")?)>(.*?)</a>', re.S)
IMAGE = re.compile(r'(<img src=")([^"]*)(")')
EXTERNAL = re.compile(r"^(?:[a-zA-Z][a-zA-Z0-9+.-]*:|#|//)")


def slug(heading_html):
    """GitHub's anchor for a heading: its text in lower case, punctuation
    dropped, blanks as hyphens."""
    text = html.unescape(re.sub(r"<[^>]+>", "", heading_html)).lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def add_anchors(body):
    seen = {}

    def anchor(match):
        base = slug(match.group(2))
        count = seen.get(base, 0)
        seen[base] = count + 1
        ident = base if count == 0 else f"{base}-{count}"
        return f'<h{match.group(1)} id="{ident}">{match.group(2)}</h{match.group(1)}>'

    return HEADING.sub(anchor, body)


class Guide:
    def __init__(self, docs, out):
        self.docs, self.out = docs.resolve(), out
        self.pages = {p.resolve() for p in self.docs.rglob("*.md")}
        self.extra = set()  # images and linked files of docs/, relative to it

    def target(self, page, url):
        """The file a relative URL of `page` names, and its #fragment."""
        path, _, fragment = html.unescape(url).partition("#")
        return (page.parent / path).resolve(), fragment

    def inside_docs(self, path):
        return path == self.docs or self.docs in path.parents

    def rewrite_link(self, page, match):
        url, title, text = match.groups()
        if EXTERNAL.match(url):
            return match.group(0)
        path, fragment = self.target(page, url)
        if path in self.pages:
            new = url.partition("#")[0][:-len(".md")] + ".html" + ("#" + fragment if fragment else "")
            return f'<a href="{new}"{title}>{text}</a>'
        if self.inside_docs(path) and path.is_file():
            self.extra.add(path.relative_to(self.docs))
            return match.group(0)
        if self.inside_docs(path):
            sys.exit(f"{page}: link to a missing file: {url}")
        return text

    def rewrite_image(self, page, match):
        url = match.group(2)
        if not EXTERNAL.match(url):
            path, _ = self.target(page, url)
            if not (self.inside_docs(path) and path.is_file()):
                sys.exit(f"{page}: image not found in {self.docs}: {url}")
            self.extra.add(path.relative_to(self.docs))
        return match.group(0)

    def render(self, cmark, page, css):
        body = subprocess.run([cmark, "--extension", "table", "--extension", "autolink", str(page)],
                              check=True, capture_output=True, text=True, encoding="utf-8").stdout
        # Safe mode drops raw HTML (the generated pages' first comment) and says so.
        body = body.replace("<!-- raw HTML omitted -->\n", "")
        first = HEADING.search(body)
        title = re.sub(r"<[^>]+>", "", first.group(2)) if first else page.stem
        body = add_anchors(body)
        body = LINK.sub(lambda m: self.rewrite_link(page, m), body)
        body = IMAGE.sub(lambda m: self.rewrite_image(page, m), body)
        relative = page.relative_to(self.docs)
        css_url = "../" * (len(relative.parts) - 1) + css
        return relative.with_suffix(".html"), PAGE.format(title=title, css=css_url, body=body)


def nsis_quote(text):
    """A literal NSIS string: "$" would start a variable."""
    return '"' + text.replace("$", "$$").replace('"', '$\\"') + '"'


def installed(relative):
    """Where a file or folder of the guide lands, as an NSIS string."""
    path = "".join("\\" + part for part in relative.parts)
    return '"$INSTDIR\\Guide' + path.replace("$", "$$").replace('"', '$\\"') + '"'


def write_nsis(out, files):
    """GUIDE_INSTALL_FILES and GUIDE_REMOVE_FILES, for $INSTDIR\\Guide."""
    install = ["!macro GUIDE_INSTALL_FILES"]
    folders = sorted({f.parent for f in files}, key=lambda d: (len(d.parts), str(d)))
    for folder in folders:
        install.append(f"  SetOutPath {installed(folder)}")
        for f in sorted(f for f in files if f.parent == folder):
            install.append(f"  File {nsis_quote('/oname=' + f.name)} {nsis_quote(str((out / f).resolve()))}")
    install.append("!macroend")
    remove = ["!macro GUIDE_REMOVE_FILES"]
    remove += [f"  Delete {installed(f)}" for f in sorted(files)]
    remove += [f"  RMDir {installed(d)}" for d in reversed(folders)]
    remove.append("!macroend")
    text = "; Generated by guide_html.py at build time: the files of the user guide.\n"
    (out / "guide_files.nsh").write_text(text + "\n".join(install + remove) + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cmark", required=True)
    parser.add_argument("--css", required=True, type=pathlib.Path)
    parser.add_argument("--docs", required=True, type=pathlib.Path)
    parser.add_argument("--out", required=True, type=pathlib.Path)
    args = parser.parse_args()

    guide = Guide(args.docs, args.out)
    if args.out.exists():
        shutil.rmtree(args.out)
    args.out.mkdir(parents=True)
    files = {pathlib.Path(args.css.name)}
    shutil.copyfile(args.css, args.out / args.css.name)
    for page in sorted(guide.pages):
        name, text = guide.render(args.cmark, page, args.css.name)
        (args.out / name).parent.mkdir(parents=True, exist_ok=True)
        (args.out / name).write_text(text, encoding="utf-8")
        files.add(name)
    for extra in guide.extra:
        (args.out / extra).parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(guide.docs / extra, args.out / extra)
        files.add(extra)
    write_nsis(args.out, files)


if __name__ == "__main__":
    main()
