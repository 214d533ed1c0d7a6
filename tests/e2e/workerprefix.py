"""Under Wine, each pytest-xdist worker runs its tests in a Wine prefix of its own, prepared by
scripts/wine-lane: a prefix has one registry, one running object table and one set of simulated
PowerPoint servers, which a test counts and expects to be its own."""

import os


def use_worker_prefix() -> None:
    """Points WINEPREFIX at this worker's prefix, GP_WINE_WORKER_PREFIX_STEM followed by the
    worker's number, before the worker starts any Windows program. Serial runs, and runs outside
    the Wine lane, keep the prefix they were given."""
    stem = os.environ.get("GP_WINE_WORKER_PREFIX_STEM")
    worker = os.environ.get("PYTEST_XDIST_WORKER", "")  # "gw0", "gw1", ...
    if stem and worker.startswith("gw"):
        os.environ["WINEPREFIX"] = stem + worker[len("gw"):]
