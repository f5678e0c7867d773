#!/bin/sh
# The demo reads its shader files and res/ from the working directory: start it from here.
cd "$(dirname "$0")" && exec ./dustriders "$@"
