"""Harness that runs RemoteControl.exe and its test equipment under Wine + Xvfb."""
