#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

Each folder is one library and one layer; a layer may include its own
headers and those of the layers it is allowed to use, listed below. Run by
the include_layers test; the layers are described in docs/architecture.md.

    tools/check-layers.py [SOURCE-ROOT]"""

import os
import re
import sys

# Folder: the folders whose headers it may include (its own always).
ALLOWED = {
    'platform/core': [],
    'model': ['platform/core'],
    'platform': ['platform/core'],
    'art': ['platform', 'platform/core'],
    'dialogs': ['art', 'platform', 'platform/core'],
    'viewer': ['model', 'dialogs', 'art', 'platform', 'platform/core'],
    'editor': ['viewer', 'model', 'dialogs', 'art', 'platform', 'platform/core'],
    'app': ['editor', 'viewer', 'model', 'dialogs', 'art', 'platform', 'platform/core'],
    'tools': ['model', 'platform/core'],
}


def layer_of(path):
    """The deepest listed folder holding the path, or None."""
    best = None
    for folder in ALLOWED:
        if path.startswith(folder + '/') and (best is None or len(folder) > len(best)):
            best = folder
    return best


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
    wrong = []
    for folder in ALLOWED:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, '/')
                own = layer_of(path)
                if own != folder:
                    continue  # a subfolder that is a layer of its own
                with open(os.path.join(root, path), encoding='utf-8') as f:
                    for number, line in enumerate(f, 1):
                        m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                        if not m or '/' not in m.group(1):
                            continue
                        target = layer_of(m.group(1))
                        if target is not None and target != own and target not in ALLOWED[own]:
                            wrong.append('%s:%d: %s includes %s, a layer above it' % (path, number, own, m.group(1)))
    for line in wrong:
        print(line)
    print('%d include(s) against the layers' % len(wrong) if wrong else 'layers: every include goes downwards')
    return 1 if wrong else 0


if __name__ == '__main__':
    sys.exit(main())
