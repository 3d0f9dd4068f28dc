#!/bin/sh
# make-test-media.sh DIR: the movies and pictures the tests play and draw, each movie with
# what ffprobe reports about it (NAME.probe) for the parser tests to compare with.
set -eu
dir=$1
mkdir -p "$dir"
cd "$dir"
ff() { ffmpeg -nostdin -v error -y "$@"; }
# Ten frames a second; frame n is a flat colour with red = 20 n, so a pixel tells the frame.
frames="color=c=black:s=64x48:r=10:d=2,geq=r='20*N':g='200-10*N':b=90"
tone="sine=frequency=440:sample_rate=11025:duration=2"
movie() { # name, video options..., -- audio options...
  name=$1; shift
  ff -f lavfi -i "$frames" -f lavfi -i "$tone" "$@" -f mov "$name.mov"
  ffprobe -v error -count_frames -show_entries \
    stream=codec_type,codec_tag_string,width,height,nb_read_frames,sample_rate,channels,bits_per_sample,duration_ts:format=duration \
    -of flat "$name.mov" > "$name.probe"
}
jpeg="-c:v mjpeg -q:v 3 -pix_fmt yuvj420p"
movie jpeg_twos16_mono_first $jpeg -c:a pcm_s16be -movflags +faststart
movie mjpa_sowt16_stereo_last $jpeg -vtag mjpa -c:a pcm_s16le -ac 2
movie jpeg_raw8_stereo_last $jpeg -c:a pcm_u8 -ac 2
movie jpeg_signed8_mono_first $jpeg -c:a pcm_s8 -movflags +faststart
movie jpeg_lpcm16_mono_last $jpeg -c:a pcm_s16le -ar 96000
movie jpeg_silent_first $jpeg -an -movflags +faststart

# Pictures: a 40x30 picture, left half red, right half blue, in each format, and the same
# JPEG behind a 512-byte header under the .pic name the background pictures use.
convert -size 20x30 xc:'#FF0000' -size 20x30 xc:'#0000FF' +append halves.png
convert halves.png -quality 95 halves.jpg
convert halves.png BMP3:halves.bmp
convert halves.png halves.gif
{ head -c 512 /dev/zero; cat halves.jpg; } > halves.pic
printf 'not a picture at all' > junk.jpg
