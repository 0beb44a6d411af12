#!/usr/bin/env bash
echo "nothing to demonstrate yet"
