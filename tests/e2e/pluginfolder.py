"""A plug-in folder of a test's own: the built executables and language files copied into a
fresh .gpPlugin folder, so that what the plug-in writes beside itself belongs to that test."""

import shutil
from pathlib import Path

from hostpeer import PLUGIN_FOLDER_NAME, plugin_executable

DIAGNOSTICS_FILE = "glyphpad-powerpoint.log"
ROTATED_DIAGNOSTICS_FILE = "glyphpad-powerpoint.1.log"


def copy_plugin_folder(parent: Path) -> Path:
    """The copy, as parent/com.korvex.powerpoint.gpPlugin; returns the copied plug-in
    executable. Point GP_PLUGIN_EXE at it to start it."""
    built = Path(plugin_executable())
    folder = parent / PLUGIN_FOLDER_NAME
    folder.mkdir(parents=True)
    programs = (built.name, "glyphpad-fieldcheck" + built.suffix)
    for item in built.parent.iterdir():
        if item.suffix == ".json" or item.name in programs:
            shutil.copy2(item, folder / item.name)
    return folder / built.name
