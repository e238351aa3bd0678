#!/usr/bin/env bash
# Installs what building and testing korvel needs on a fresh Debian machine.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 wine wine64
